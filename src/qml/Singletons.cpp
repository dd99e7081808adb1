#include "Singletons.h"

#include <QJSEngine>

namespace {

Singletons::Objects provided;

// The engine would delete a singleton it was handed without this.
template<typename T>
T *keptByCpp(T *object)
{
    if (object)
        QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
    return object;
}

} // namespace

void Singletons::provide(const Objects &objects)
{
    provided = objects;
}

StoreBridge *StoreSingleton::create(QQmlEngine *, QJSEngine *)
{
    return keptByCpp(provided.store);
}

AppearanceController *AppearanceSingleton::create(QQmlEngine *, QJSEngine *)
{
    return keptByCpp(provided.appearance);
}

AboutData *AboutDataSingleton::create(QQmlEngine *, QJSEngine *)
{
    return keptByCpp(provided.aboutData);
}

ChangelogProvider *ChangelogSingleton::create(QQmlEngine *, QJSEngine *)
{
    return keptByCpp(provided.changelog);
}
