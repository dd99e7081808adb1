#include "Result.h"

#include "AppConfig.h"

#include <QFileInfo>

#include <cerrno>

Error Error::fromErrno(int errorNumber, Access access, QString path)
{
    const bool reading = access == Access::read;
    Kind kind = reading ? Kind::FileRead : Kind::FileWrite;
    switch (errorNumber) {
    case ENOENT: kind = reading ? Kind::FileNotFound : Kind::FolderNotFound; break;
    case EACCES:
    case EPERM: kind = reading ? Kind::FileAccess : Kind::FolderAccess; break;
    case EROFS: kind = Kind::ReadOnlyFolder; break;
    case ENOSPC:
    case EDQUOT: kind = Kind::DiskFull; break;
    case EISDIR: kind = Kind::IsFolder; break;
    case ENOTDIR:
    case EEXIST: kind = Kind::NotAFolder; break;
    case EFBIG: kind = reading ? Kind::TooLarge : Kind::DiskFull; break;
    }
    return make(kind, std::move(path));
}

QString Error::localizedDescription() const
{
    // The text with the file, or its folder, as %1 when the file is known;
    // the general one otherwise.
    const auto about = [this](const QString &named, const QString &general, bool folder = false) {
        if (path.isEmpty())
            return general;
        return named.arg(QStringLiteral("«") + (folder ? QFileInfo(path).absolutePath() : path) + QStringLiteral("»"));
    };
    const QString maximum = QString::number(AppConfig::maximumBackupBytes / (1024 * 1024));
    QString text;
    switch (kind) {
    case Kind::DataFolderUnavailable: text = QStringLiteral("Папка данных приложения недоступна."); break;
    case Kind::Decoding:
        text = about(QStringLiteral("Данные в файле %1 имеют неверный формат."),
                     QStringLiteral("Данные не удалось прочитать, так как они имеют неверный формат."));
        break;
    case Kind::Encoding: text = QStringLiteral("Данные не удалось записать, так как они имеют неверный формат."); break;
    case Kind::NotStateFile:
        text = about(QStringLiteral("Файл %1 не является файлом данных Tallyport."),
                     QStringLiteral("Файл не является файлом данных Tallyport."));
        break;
    case Kind::FileNotFound:
        text = about(QStringLiteral("Файл %1 не существует."), QStringLiteral("Файл не существует."));
        break;
    case Kind::FolderNotFound:
        text = about(QStringLiteral("Папка %1 не существует."), QStringLiteral("Папка не существует."), true);
        break;
    case Kind::FileAccess:
        text = about(QStringLiteral("Нет разрешения на чтение файла %1."),
                     QStringLiteral("Нет разрешения на чтение файла."));
        break;
    case Kind::FolderAccess:
        text = about(QStringLiteral("Нет разрешения на запись в папку %1."),
                     QStringLiteral("Нет разрешения на запись в папку."), true);
        break;
    case Kind::ReadOnlyFolder:
        text = about(QStringLiteral("Папка %1 доступна только для чтения."),
                     QStringLiteral("Папка доступна только для чтения."), true);
        break;
    case Kind::DiskFull:
        text = about(QStringLiteral("Недостаточно места на диске для файла %1."),
                     QStringLiteral("Недостаточно места на диске."));
        break;
    case Kind::IsFolder:
        text = about(QStringLiteral("%1 — это папка, а не файл."), QStringLiteral("Вместо файла найдена папка."));
        break;
    case Kind::NotAFolder:
        text = about(QStringLiteral("В пути %1 вместо папки стоит файл."),
                     QStringLiteral("В пути к файлу вместо папки стоит файл."));
        break;
    case Kind::TooLarge:
        text = about(
            QStringLiteral("Файл %1 больше ") + maximum + QStringLiteral(" МБ: это не резервная копия Tallyport."),
            QStringLiteral("Файл больше ") + maximum + QStringLiteral(" МБ: это не резервная копия Tallyport."));
        break;
    case Kind::FileRead:
        text = about(QStringLiteral("Файл %1 не удалось прочитать."), QStringLiteral("Файл не удалось прочитать."));
        break;
    case Kind::FileWrite:
        text = about(QStringLiteral("Файл %1 не удалось записать."), QStringLiteral("Файл не удалось записать."));
        break;
    case Kind::ApplicationFile:
        text = about(QStringLiteral("В файле %1 Tallyport хранит свои данные: выберите другой файл."),
                     QStringLiteral("В этом файле Tallyport хранит свои данные: выберите другой файл."));
        break;
    case Kind::InvalidArchive: text = QStringLiteral("Файл не является резервной копией Tallyport."); break;
    case Kind::InvalidPassword: text = QStringLiteral("Неверный пароль или файл повреждён."); break;
    case Kind::Crypto: text = QStringLiteral("Ошибка шифрования."); break;
    case Kind::OperationFailed: text = QStringLiteral("Операция не выполнена."); break;
    }
    if (!keptAs.isEmpty())
        text += QStringLiteral(" Он не будет перезаписан: перед первым сохранением данных Tallyport переименует его "
                               "в «%1».")
                    .arg(keptAs);
    return text;
}
