// The toolkit's own words (a text box's or a scroll bar's menu, the message box's button, the names
// of the actions a screen reader lists) in Chinese like the rest of the window, whatever the
// desktop's language, from Qt's translations; without those installed they stay in English.
//
// They are loaded when first needed rather than at start, since most sessions show no menu and no
// box: before the first context menu or message box, or as soon as a screen reader listens.
//
// What it deliberately does not do: translate the window's own captions, which are Chinese already.
#pragma once

class QApplication;

namespace kalvori::desktop {

// Loads and installs the translations; every later call does nothing. Whatever shows toolkit
// words by a path other than a context-menu event calls it first (the message box does).
void loadToolkitWords();
// Loads them on the first context-menu event anywhere in the application, or once accessibility
// is active (at once if it already is).
void loadToolkitWordsWhenNeeded(QApplication& app);

}  // namespace kalvori::desktop
