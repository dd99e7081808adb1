#include "Result.h"

QString Error::localizedDescription() const
{
    QString text;
    switch (kind) {
    case Kind::DataFolderUnavailable: text = QStringLiteral("Папка данных приложения недоступна."); break;
    case Kind::Decoding:
        text = QStringLiteral("Данные не удалось прочитать, так как они имеют неверный формат.");
        break;
    case Kind::Encoding: text = QStringLiteral("Данные не удалось записать, так как они имеют неверный формат."); break;
    case Kind::FileNotFound: text = QStringLiteral("Файл не существует."); break;
    case Kind::FileAccess: text = QStringLiteral("Нет разрешения на доступ к файлу."); break;
    case Kind::FileRead: text = QStringLiteral("Файл не удалось прочитать."); break;
    case Kind::FileWrite: text = QStringLiteral("Файл не удалось записать."); break;
    case Kind::DiskFull: text = QStringLiteral("Недостаточно места на диске."); break;
    case Kind::InvalidArchive: text = QStringLiteral("Файл не является резервной копией Tallyport."); break;
    case Kind::InvalidPassword: text = QStringLiteral("Неверный пароль или файл повреждён."); break;
    case Kind::Crypto: text = QStringLiteral("Ошибка шифрования."); break;
    case Kind::OperationFailed: text = QStringLiteral("Операция не выполнена."); break;
    case Kind::Locked: text = QStringLiteral("Данные открыты в запущенном окне Tallyport."); break;
    }
    if (!systemText.isEmpty())
        text += QStringLiteral(" (") + systemText + QLatin1Char(')');
    return text;
}
