#pragma once
#include "platform/picturedata.h"

#include <QString>

namespace terravale {

// The way back to the main menu for the screens it opens, so that none of them includes it.
// Defined next to the menu (intro0.cpp).

// Shows the main menu in front, loading it if it is not loaded.
void showMainMenu();

// The main menu's picture and title, loading the menu (unseen) if it is not loaded: a worksheet's
// quiz shows them.
struct MenuLook {
    PictureHandle picture;
    QString title;
};
MenuLook mainMenuLook();

} // namespace terravale
