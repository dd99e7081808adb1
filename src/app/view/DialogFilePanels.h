#pragma once

#include "services/FilePanels.h"

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QVariantList>

// The backup flow's save and open panels: the application's own file dialog
// (qml sheets/BackupFileDialog.qml) over the main window, limited to folders
// and JSON files. Qt Quick's FileDialog is not used: on Qt 6.4 its fallback
// cannot offer a name for a file that does not exist yet, and it crashes when
// Qt.labs.folderlistmodel is not installed. The store waits for the answer,
// so each panel runs in a local event loop until the dialog closes.
//
// Test hook: TALLYPORT_TEST_SAVE_PATH and TALLYPORT_TEST_OPEN_PATH, when set,
// answer the save or the open panel with that path without showing anything,
// so that end-to-end tests can export and import.
class DialogFilePanels final : public QObject, public FilePanels {
    Q_OBJECT
public:
    explicit DialogFilePanels(QObject *parent = nullptr)
        : QObject(parent)
    {}

    // The window the panels open over; until it is set they answer "cancelled".
    void setWindow(QQuickWindow *window) { m_window = window; }

    std::optional<QString> chooseSaveLocation(const QString &suggestedName) override;
    std::optional<QString> chooseOpenLocation() override;

    // For the dialog. The subfolders and JSON files of `folder`, folders
    // first, each by name ignoring case: {name, path, isFolder}. Hidden
    // entries are left out.
    Q_INVOKABLE QVariantList folderEntries(const QString &folder) const;
    // The folder above `folder`, or `folder` itself at the root.
    Q_INVOKABLE QString parentFolder(const QString &folder) const;
    // Where a typed name points: relative to `folder` unless absolute; an
    // existing folder as it is, a file with ".json" added when it has no such
    // extension.
    Q_INVOKABLE QString savePath(const QString &folder, const QString &name) const;
    Q_INVOKABLE bool isFolder(const QString &path) const;
    Q_INVOKABLE bool exists(const QString &path) const;

private:
    std::optional<QString> run(bool saving, const QString &suggestedName);

    QPointer<QQuickWindow> m_window;
};
