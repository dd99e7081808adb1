#pragma once

#include "view/AboutData.h"
#include "view/AppearanceController.h"
#include "view/ChangelogProvider.h"
#include "view/StoreBridge.h"

#include <QtQml/qqml.h>

class QJSEngine;
class QQmlEngine;

// The window's C++ objects as singletons of the Tallyport module, so that QML
// names them as types and qmllint checks every use: Store, Appearance,
// AboutData and Changelog. main() creates the objects and hands them over
// before it loads the window; they stay owned by C++.
namespace Singletons {

struct Objects {
    StoreBridge *store = nullptr;
    AppearanceController *appearance = nullptr;
    AboutData *aboutData = nullptr;
    ChangelogProvider *changelog = nullptr;
};

void provide(const Objects &objects);

} // namespace Singletons

struct StoreSingleton {
    Q_GADGET
    QML_FOREIGN(StoreBridge)
    QML_NAMED_ELEMENT(Store)
    QML_SINGLETON
public:
    static StoreBridge *create(QQmlEngine *, QJSEngine *);
};

struct AppearanceSingleton {
    Q_GADGET
    QML_FOREIGN(AppearanceController)
    QML_NAMED_ELEMENT(Appearance)
    QML_SINGLETON
public:
    static AppearanceController *create(QQmlEngine *, QJSEngine *);
};

struct AboutDataSingleton {
    Q_GADGET
    QML_FOREIGN(AboutData)
    QML_NAMED_ELEMENT(AboutData)
    QML_SINGLETON
public:
    static AboutData *create(QQmlEngine *, QJSEngine *);
};

struct ChangelogSingleton {
    Q_GADGET
    QML_FOREIGN(ChangelogProvider)
    QML_NAMED_ELEMENT(Changelog)
    QML_SINGLETON
public:
    static ChangelogProvider *create(QQmlEngine *, QJSEngine *);
};

// The types of the store's lists, known to QML by their properties only.
struct AccountListModelForeign {
    Q_GADGET
    QML_FOREIGN(AccountListModel)
    QML_ANONYMOUS
};

struct EventListModelForeign {
    Q_GADGET
    QML_FOREIGN(EventListModel)
    QML_ANONYMOUS
};

struct ServiceListModelForeign {
    Q_GADGET
    QML_FOREIGN(ServiceListModel)
    QML_ANONYMOUS
};

struct ServiceOverviewModelForeign {
    Q_GADGET
    QML_FOREIGN(ServiceOverviewModel)
    QML_ANONYMOUS
};
