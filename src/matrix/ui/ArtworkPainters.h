// The drawing of each piece of matrix artwork, in the exact pixel size of its role and screen
// size. Called once per image when the IconStore loads. UI thread.
#pragma once

#include <QImage>

#include "matrix/Artwork.h"

namespace mav::art {

// A module's plate: model name over a pictogram at full width, the short name from top to bottom
// at half width. mod_type 1-5, icon_color 0-7.
QImage ModuleIcon(int screen_size, bool half_width, int mod_type, int icon_color);
// The empty dark frame of a port that monitor mode leaves out.
QImage GreyedIcon(int screen_size, bool half_width);

// Left panel with the corner key, NET and the seven net keys; the corner switch image is cut from
// it so that the red key sits on the same metal.
QImage LeftPanel(int screen_size);
QImage CornerSwitch(const QImage& left_panel, int screen_size);
QImage MonitorOverlay(int screen_size);
QImage HeaderStrip(int screen_size, bool show_26_columns);
QImage BottomPanel(int screen_size);
QImage BorderStrip(int screen_size);

// Net bars, square badges and lamps, by role.
QImage NetBar(int screen_size, ArtRole role);
QImage Badge(int screen_size, ArtRole role);
QImage Lamp(int screen_size, ArtRole role);

}  // namespace mav::art
