#pragma once

#include <QString>

#include <utility>
#include <variant>

// A failure as the core reports it: a small kind plus, where the platform gave
// one, its own text. The store turns it into one Russian message for the user.
struct Error {
    enum class Kind {
        DataFolderUnavailable, // no per-user data folder
        Decoding,              // bytes are not the expected JSON
        Encoding,              // a value could not be written as JSON
        FileNotFound,
        FileAccess, // permission denied
        FileRead,
        FileWrite,
        DiskFull,
        InvalidArchive,  // backup: a Base64 field does not decode
        InvalidPassword, // backup: anything after the key is derived
        Crypto,          // the crypto library failed to seal
        OperationFailed, // a platform facility refused (launch at login)
        Locked,          // another running Tallyport owns the data folder
    };

    Kind kind = Kind::Decoding;
    QString systemText; // the platform's own description, when there is one

    static Error make(Kind kind, QString systemText = {}) { return Error{kind, std::move(systemText)}; }

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
