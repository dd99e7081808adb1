#pragma once

#include <QObject>
#include <QString>

#include <optional>

// The text of the changelog sheet: the CHANGELOG.md shipped among the
// resources when it can be read, else the text built into the program.
class ChangelogProvider : public QObject {
    Q_OBJECT
public:
    inline static const QString resourcePath = QStringLiteral(":/Tallyport/data/CHANGELOG.md");

    explicit ChangelogProvider(QString path = resourcePath, QObject *parent = nullptr);

    // The file as UTF-8; nothing when it is missing, unreadable, empty or
    // not valid UTF-8.
    static std::optional<QString> loadFromResource(const QString &path = resourcePath);
    static QString builtInText();

    // Read on every call, so a changed resource shows the next time.
    Q_INVOKABLE QString text() const;

private:
    QString m_path;
};
