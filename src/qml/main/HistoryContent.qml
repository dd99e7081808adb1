import QtQuick
import Tallyport

// The "История" destination: the store's events, filtered by the toolbar's
// search. The window keeps Store.events active while this page is shown.
HistoryView {
    property var shell

    model: Store.events
    count: Store.events.count
}
