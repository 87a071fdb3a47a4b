#pragma once

class QDialog;
class QLabel;
class QMovie;
class QObject;

// The look the busy dialogs share: frameless, translucent, red text over a small animation.
namespace BusyLook {

// Frameless window with a translucent background.
void applyWindow(QDialog* dialog);
// Translucent label with centred red Arial text.
void applyText(QLabel* label);
// Translucent label that plays ":/Image/loading.gif" scaled to its size; the movie is a
// child of owner and is not started.
QMovie* attachLoadingMovie(QLabel* label, QObject* owner);

}  // namespace BusyLook
