// Message boxes on the counter's touch screen: every QMessageBox of the
// program (Exit, clearing a counter, the viewers' errors) grows with the
// screen as the main window does, by screen height / kDesignHeight, so its
// text is read and its buttons are hit as easily as the toolbar's. One
// application style sheet does it for all of them, wherever they are made.
#ifndef TINDAVEL_APP_MESSAGE_BOX_SCALE_H_
#define TINDAVEL_APP_MESSAGE_BOX_SCALE_H_

#include <QString>

// Sizes of a message box on the 480-pixel-high design screen.
inline constexpr int kMessageBoxFontPixels = 13;     // the main window's type
inline constexpr int kMessageBoxButtonWidth = 75;
inline constexpr int kMessageBoxButtonHeight = 30;
inline constexpr int kMessageBoxRowMinWidth = 200;  // room for the window title

// A design size scaled by numerator / denominator, as the main window's
// controls are.
int scaledMessageBoxSize(int designPixels, int numerator, int denominator);

// The style sheet for message boxes at numerator / denominator: their type,
// their buttons' least size and their button row's least width. Empty when the
// factor is one (or not a sound factor): the boxes stay as Qt makes them.
QString messageBoxStyleSheet(int numerator, int denominator);

// Sets messageBoxStyleSheet as the application's style sheet.
void applyMessageBoxScale(int numerator, int denominator);

#endif  // TINDAVEL_APP_MESSAGE_BOX_SCALE_H_
