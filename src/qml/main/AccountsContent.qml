import QtQuick
import Tallyport

// The account destinations ("Все аккаунты", "Активные лимиты", "Архив" and
// every service), wired to the store; the window opens the editor and the
// deletion alert.
AccountsView {
    property var shell

    destination: Store.selectedDestinationId.startsWith("service:") ? "service" : Store.selectedSection
    accounts: Store.accounts
    servicesCount: Store.servicesCount
    accountsCount: Store.accountsCount
    overviews: Store.overviews
    serviceName: Store.selectedServiceName
    serviceOverview: Store.selectedServiceOverview
    copyPassword: accountId => Store.copyPasswordToClipboard(accountId)

    onAddRequested: shell.openAccountEditor("")
    onUseRequested: accountId => Store.startUsage(accountId)
    onEditRequested: accountId => shell.openAccountEditor(accountId)
    onResetRequested: accountId => Store.resetTimer(accountId)
    onArchiveRequested: accountId => Store.archiveAccount(accountId)
    onRestoreRequested: accountId => Store.restoreAccount(accountId)
    onNoLimitsToggled: accountId => Store.toggleNoLimits(accountId)
    onDeleteRequested: (accountId, name) => shell.confirmDeleteAccount(accountId, name)
}
