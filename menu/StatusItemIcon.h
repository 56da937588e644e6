// SPDX-License-Identifier: MIT
// The status item's icon: the icon theme's Corvanta icon, or the one built in, as square
// pictures. A tray that gives the item a cell of another shape (an XEmbed tray, 22×26 seen)
// then gets the coin centred and round: Qt paints a scalable theme icon over the whole cell,
// stretching it, but fits square pictures into the cell whole.
#pragma once

#include <QIcon>

QIcon StatusItemIcon();
