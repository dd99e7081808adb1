#include "ChangelogProvider.h"

#include <QFile>
#include <QStringDecoder>

ChangelogProvider::ChangelogProvider(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
{}

std::optional<QString> ChangelogProvider::loadFromResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString ChangelogProvider::builtInText()
{
    return QStringLiteral(
        "# Changelog\n"
        "\n"
        "## 1.14 — текущая версия\n"
        "- Добавлен выбор сервиса при создании и редактировании аккаунта.\n"
        "- Из формы аккаунта можно создать новый сервис и сразу выбрать его.\n"
        "- Аккаунты перетаскиваются на сервис в боковой панели.\n"
        "- Резервная копия шифруется паролем и восстанавливается с заменой или объединением данных.\n"
        "\n"
        "## 1.12\n"
        "- Добавлено разделение аккаунтов по сервисам и сервисная навигация в интерфейсе.\n"
        "- Появились архив аккаунтов и журнал истории действий.\n"
        "- Уведомление приходит, когда лимит аккаунта восстановлен.\n"
        "\n"
        "## 1.05 — ключевая веха\n"
        "- Добавлены настройки: оформление, формат таймера, часовой пояс и запуск при входе в систему.\n"
        "- Пароль аккаунта копируется в буфер обмена одним нажатием.\n"
        "- Поиск по имени и заметке аккаунта.\n"
        "\n"
        "## Прототип\n"
        "- Реализована базовая логика CRUD аккаунтов и недельный таймер восстановления.\n"
        "- Данные хранятся в одном файле accounts.json.\n");
}

QString ChangelogProvider::text() const
{
    return loadFromResource(m_path).value_or(builtInText());
}
