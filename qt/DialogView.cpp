#include "qt/DialogView.h"

#include "qt/QtText.h"

namespace rizorivu::qt {

DialogView::DialogView(ui::Dialog& dialog, QWidget* parent)
    : dialog_(dialog),
      window_(new DialogWindow(parent)),
      title_(dialog.title(), [this](ui::Change change) {
          if (change == ui::Change::Text && window_) {
              window_->setWindowTitle(toQString(dialog_.title().text()));
          }
      }) {
    window_->setWindowTitle(toQString(dialog_.title().text()));
    window_->setBehaviour({
        .onEnter = [this] { dialog_.onOk(); },
        .onEscape = [this] { dialog_.onCancel(); },
        .onCloseBox = [this](bool) { dialog_.onCancel(); },
        .onMinimiseBox = nullptr,
        .onCloseRequest = [this] { dialog_.onCancel(); },
    });
}

DialogView::~DialogView() {
    // A parent window may already have taken its children along.
    delete window_.data();
}

}  // namespace rizorivu::qt
