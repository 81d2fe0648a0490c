#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

// Pellix's pictures, drawn as SVG and rendered at the sizes the tool bar, the tree pane and
// the splash window work with. Every function needs a QGuiApplication and returns a null
// pixmap (or an empty icon) when its picture cannot be read.

// Registers the pictures compiled into this library. The functions below call it
// themselves; the application calls it once at start-up for anything that loads ":/res/..."
// paths directly. Calling it again does nothing.
void InitPellixResources();

inline constexpr int kToolBarImageCount = 12;
inline constexpr QSize kToolBarImageSize{16, 15};
inline constexpr int kTreeImageCount = 8;
inline constexpr QSize kTreeImageSize{16, 13};
inline constexpr QSize kSplashSize{422, 264};

// Resource paths of the pictures.
inline constexpr const char *kToolBarStripPath = ":/res/images/toolbar.svg";
inline constexpr const char *kTreeStripPath = ":/res/images/treeimages.svg";
inline constexpr const char *kSplashPath = ":/res/images/splash.svg";
inline constexpr const char *kAppIconPath = ":/res/images/pellix.svg";
inline constexpr const char *kDocIconPath = ":/res/images/document.svg";
inline constexpr const char *kDragCursorPath = ":/res/images/dragcursor.svg";

// The tool bar strip, twelve 16x15 images side by side in tool bar order (new, open, save,
// cut, copy, paste, print, expand, contract, expand all, contract all, about), at
// `devicePixelRatio` times its size.
QPixmap ToolBarStrip(qreal devicePixelRatio = 1.0);

// Image `index` of the tool bar strip; null when the index is out of range.
QPixmap ToolBarImage(int index, qreal devicePixelRatio = 1.0);

// The tree pane's strip, eight 16x13 images: 0 document item (bare branch), 1 element item
// (leafy sprig), 2 leaf, 3 to 6 sprigs with a letter tile (a, t, c, i), 7 element marked by
// Cut (pale sprig). Transparent where nothing is drawn.
QPixmap TreeStrip(qreal devicePixelRatio = 1.0);

// Image `index` of the tree strip; null when the index is out of range.
QPixmap TreeImage(int index, qreal devicePixelRatio = 1.0);

// Image `index` of the tool bar strip and of the tree strip as icons that stay sharp on
// scaled screens (drawn at 1, 2 and 3 device pixels per pixel); empty when the index is out
// of range.
QIcon ToolBarIcon(int index);
QIcon TreeIcon(int index);

// The 422x264 start-up picture: the program's name, version and an element tree, drawn at
// `devicePixelRatio` times its size.
QPixmap SplashPicture(qreal devicePixelRatio = 1.0);

// The application's icon and the icon of its documents, in the usual icon sizes.
QIcon AppIcon();
QIcon DocIcon();

// The cursor shown while an element is dragged in the tree: the pointer carrying an
// element box, hot spot at the arrow's tip.
QCursor DragCursor();
