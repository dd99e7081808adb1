import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The help centre: a title card and one card per topic, always the same.
Item {
    id: page

    property var shell

    readonly property var topics: [
        {
            title: "Быстрый старт",
            items: [
                "1. Откройте раздел «Все аккаунты» и нажмите «Добавить».",
                "2. Заполните имя, заметку и пароль (по необходимости), затем сохраните.",
                "3. Нажмите «Использовать» в строке аккаунта, чтобы запустить отсчёт на 7 дней."
            ]
        },
        {
            title: "Управление аккаунтами",
            items: [
                "«Редактировать» — меняет имя, заметку, пароль и ручную дату восстановления.",
                "«Удалить» — удаляет аккаунт навсегда из всех разделов.",
                "«Архивировать» — переносит аккаунт в раздел «Архив».",
                "В архиве доступны «Восстановить» и «Удалить навсегда»."
            ]
        },
        {
            title: "Таймеры и статусы",
            items: [
                "Статус «Активен» означает, что лимит восстанавливается (идёт обратный отсчёт).",
                "Статус «Лимит восстановлен» означает, что аккаунт снова готов к использованию.",
                "Кнопка «Использовать снова» перезапускает недельный цикл.",
                "«Сбросить таймер» очищает startedAt/resetAt и возвращает аккаунт в исходное состояние."
            ]
        },
        {
            title: "Флаг «Лимитов нет» и пароли",
            items: [
                "Надпись «Лимитов нет» — только информационный флаг.",
                "Включение/выключение флага не блокирует таймер и не меняет расчёт восстановления.",
                "Кнопка «Скопировать пароль» копирует пароль аккаунта в буфер обмена."
            ]
        },
        {
            title: "Поиск, разделы и история",
            items: [
                "Поиск в разделах аккаунтов фильтрует по имени и заметке.",
                "Раздел «Активные лимиты» показывает только аккаунты с активным отсчётом.",
                "Раздел «История» отображает журнал действий: создание, редактирование, запуск, архив и другие изменения."
            ]
        },
        {
            title: "Виджет восстановления",
            items: [
                "Главная панель показывает общую сводку и отдельные зоны по каждому сервису.",
                "В каждой зоне отображаются: Заряжены, Заряжаются и ближайшее восстановление.",
                "При наличии восстановленных аккаунтов зона сервиса получает зелёный акцент."
            ]
        },
        {
            title: "Сервисы",
            items: [
                "Создайте сервис в секции «Сервисы» в sidebar, после создания откроется его страница.",
                "На странице сервиса отображаются только его аккаунты.",
                "Обычные сервисы можно переименовать или удалить через меню строки сервиса.",
                "При удалении сервиса аккаунты автоматически переносятся в «Без сервиса»."
            ]
        },
        {
            title: "Настройки, уведомления и бэкап",
            items: [
                "Настройки применяются сразу во всём приложении; «Сохранить» закрепляет выбор, «Отмена» откатывает к исходным значениям.",
                "Доступны: тема (как в системе/день/ночь), формат таймера, секунды, автозапуск и часовой пояс.",
                "Вкладка «Уведомления» управляет системным разрешением и уведомлениями о восстановлении лимита.",
                "Экспорт/импорт выполняется в зашифрованный файл с паролем архива."
            ]
        }
    ]

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        contentHeight: cards.implicitHeight + 48

        ColumnLayout {
            id: cards
            objectName: "helpCards"
            x: 24
            y: 24
            width: scroll.availableWidth - 48
            spacing: 14

            ContentCard {
                Layout.fillWidth: true
                title: "Центр помощи"
                subtitle: "Подробная инструкция по всем функциям Tallyport."
            }

            Repeater {
                model: page.topics

                HelpBlock {
                    required property var modelData
                    Layout.fillWidth: true
                    title: modelData.title
                    items: modelData.items
                }
            }
        }
    }

    component HelpBlock: Rectangle {
        id: block

        property string title
        property var items: []

        implicitHeight: lines.implicitHeight + 32
        radius: 12
        color: Theme.withOpacity(Theme.cardBackground, 0.9)

        ColumnLayout {
            id: lines
            anchors.fill: parent
            anchors.margins: 16
            spacing: 8

            Label {
                Layout.fillWidth: true
                text: block.title
                color: Theme.onSurface
                font.pixelSize: Theme.headlineSize
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
            }
            Repeater {
                model: block.items

                Label {
                    required property string modelData
                    Layout.fillWidth: true
                    text: modelData
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.subheadlineSize
                    wrapMode: Text.Wrap
                }
            }
        }
    }
}
