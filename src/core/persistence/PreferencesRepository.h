#pragma once

#include "model/Preferences.h"

// Where the store keeps the preferences. Never fails: problems fall back to
// defaults on load and are dropped on save.
class PreferencesRepository {
public:
    virtual ~PreferencesRepository() = default;
    virtual Preferences loadPreferences() = 0;
    virtual void savePreferences(const Preferences &preferences) = 0;
};
