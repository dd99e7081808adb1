#pragma once

#include <QString>

#include <utility>
#include <variant>

// A failure as the core reports it: a small kind plus the file it concerns,
// when there is one. The store turns it into one Russian message for the user.
struct Error {
    enum class Kind {
        DataFolderUnavailable, // no per-user data folder
        Decoding,              // bytes are not the expected JSON
        Encoding,              // a value could not be written as JSON
        NotStateFile,          // a JSON object that holds none of the state's keys
        FileNotFound,
        FolderNotFound,  // writing into a folder that does not exist
        FileAccess,      // no permission to read the file
        FolderAccess,    // no permission to write into the file's folder
        ReadOnlyFolder,  // the folder is on a read-only file system
        DiskFull,        // no space (or quota) left
        IsFolder,        // a folder where a file was expected
        NotAFolder,      // a file where a folder of the path was expected
        TooLarge,        // larger than a backup can be
        FileRead,        // any other failure to read
        FileWrite,       // any other failure to write
        ApplicationFile, // an export onto one of the application's own files
        InvalidArchive,  // backup: a Base64 field does not decode
        InvalidPassword, // backup: anything after the key is derived
        Crypto,          // the crypto library failed to seal
        OperationFailed, // a platform facility refused (launch at login)
    };
    enum class Access { read, write };

    Kind kind = Kind::Decoding;
    QString path;   // the file concerned; empty when there is none
    QString keptAs; // where an unreadable file will be kept before it is replaced

    static Error make(Kind kind, QString path = {}) { return Error{kind, std::move(path), {}}; }
    // The kind for an errno value of a failed read or write of `path`.
    static Error fromErrno(int errorNumber, Access access, QString path);

    // The generic description appended to the store's messages.
    QString localizedDescription() const;
};

// A value or an Error. Kept deliberately small: the core needs no more.
template<typename T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_data(std::move(value))
    {}
    Result(Error error)
        : m_data(std::move(error))
    {}

    bool ok() const { return std::holds_alternative<T>(m_data); }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<T>(m_data); }
    T &value() & { return std::get<T>(m_data); }
    T &&value() && { return std::get<T>(std::move(m_data)); }
    const Error &error() const { return std::get<Error>(m_data); }

private:
    std::variant<T, Error> m_data;
};

template<>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
        , m_failed(true)
    {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return m_error; }

private:
    Error m_error;
    bool m_failed = false;
};
