#pragma once
// The toolbar's twelve pictures, drawn in code so that they stay sharp at any
// size and screen scaling, with a disabled look of their own.
#include <QIcon>

// Image numbers of the toolbar's image list.
enum ToolbarImage {
    imgNew = 1, imgOpen, imgSave, imgPrint, imgCut, imgCopy, imgPaste,
    imgUndo, imgFind, imgExit, imgFont, imgHelp
};

// The picture with that number (1..12); a null icon for any other number.
QIcon toolbarIcon(int imageNumber);

// A thin upright bar that stands for a separator in lists of buttons.
QIcon toolbarSeparatorIcon();
