#pragma once
#include "activityscreen.h"

namespace terravale {

// The four activities' data, as laid out on their screens.
const ActivityDef &rubbishlabDef();
const ActivityDef &resourceslabDef();
const ActivityDef &rubbishordDef();
const ActivityDef &resourcesordDef();

// Rubbish: label four photographs of ways of disposing of rubbish.
class rubbishlab : public ActivityScreen {
    Q_OBJECT
public:
    rubbishlab() : ActivityScreen(rubbishlabDef()) {}
};

// Resources: label the regions of an island map with alternative energy sources.
class resourceslab : public ActivityScreen {
    Q_OBJECT
public:
    resourceslab() : ActivityScreen(resourceslabDef()) {}
};

// Rubbish: put sentence beginnings in front of their endings.
class rubbishord : public ActivityScreen {
    Q_OBJECT
public:
    rubbishord() : ActivityScreen(rubbishordDef()) {}
};

// Resources: complete a table about wind, solar and water power.
class resourcesord : public ActivityScreen {
    Q_OBJECT
public:
    resourcesord() : ActivityScreen(resourcesordDef()) {}
};

} // namespace terravale
