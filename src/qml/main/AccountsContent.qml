import QtQuick
import Tallyport

// The account destinations ("Все аккаунты", "Активные лимиты", "Архив" and
// every service), wired to the store; the window opens the editor and the
// deletion alert.
AccountsView {
    property var shell

    destination: store.selectedDestinationId.startsWith("service:") ? "service" : store.selectedSection
    accounts: store.accounts
    servicesCount: store.servicesCount
    accountsCount: store.accountsCount
    overviews: store.overviews
    serviceName: store.selectedServiceName
    serviceOverview: store.selectedServiceOverview
    copyPassword: accountId => store.copyPasswordToClipboard(accountId)

    onAddRequested: shell.openAccountEditor("")
    onUseRequested: accountId => store.startUsage(accountId)
    onEditRequested: accountId => shell.openAccountEditor(accountId)
    onResetRequested: accountId => store.resetTimer(accountId)
    onArchiveRequested: accountId => store.archiveAccount(accountId)
    onRestoreRequested: accountId => store.restoreAccount(accountId)
    onNoLimitsToggled: accountId => store.toggleNoLimits(accountId)
    onDeleteRequested: (accountId, name) => shell.confirmDeleteAccount(accountId, name)
}
