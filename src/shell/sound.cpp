#include "sound.h"

#include "grey.h"
#include "rules/session.h"

#include "platform/sound.h"

namespace terravale {

void playclip(const QString &programPath)
{
    if (session().soundon != 1)
        return;
    form<Grey>();
    soundPlayer().play(programPath);
}

} // namespace terravale
