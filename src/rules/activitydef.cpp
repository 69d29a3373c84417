#include "activitydef.h"

namespace terravale {

DragEngine engineFor(const ActivityDef &def)
{
    std::vector<DragEngine::Item> items;
    for (const ActivityItemDef &item : def.items)
        items.push_back({{item.boxLeft, item.boxTop, def.itemWidth, def.itemHeight},
                         {item.slotLeft, item.slotTop, def.itemWidth, def.itemHeight}});
    return DragEngine(items);
}

} // namespace terravale
