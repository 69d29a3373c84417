#include "catalogue.h"

#include "platform/filechannel.h"
#include "shell/session.h"

namespace terravale {

void readCatalogueQuietly(Session &session)
{
    ChannelGuard guard;
    try {
        FileChannel &file = fileChannel();
        file.openRead(kCataloguePath);
        session.numsheets = file.readNumber();
        for (int i = 1; i <= session.numsheets; ++i)
            session.sheetnames.at(i) = file.readField();
        file.close();
    } catch (...) {
        // The menu carries on with what was read.
    }
}

} // namespace terravale
