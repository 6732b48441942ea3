#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "qt/DialogView.h"
#include "ui/DialogCode.h"

namespace rizorivu::qt {

// Builds the view of a dialog by its code: each dialog kind registers one creator for its
// code. A code with no creator gets no view, and the host then shows a window with the title
// only.
class ViewFactory {
public:
    using Creator = std::function<std::unique_ptr<DialogView>(ui::Dialog&, QWidget* parent)>;
    template <class Model>
    using ModelCreator = std::function<std::unique_ptr<DialogView>(Model&, QWidget* parent)>;

    // A later creator for the same code replaces the earlier one.
    void add(ui::DialogCode code, Creator creator);
    // A creator for the dialogs of class Model under `code`. A dialog of another class under
    // that code (a test's stand-in) gets no view.
    template <class Model>
    void add(ui::DialogCode code, ModelCreator<Model> creator) {
        add(code, Creator([creator = std::move(creator)](ui::Dialog& dialog, QWidget* parent) {
                auto* model = dynamic_cast<Model*>(&dialog);
                return model != nullptr ? creator(*model, parent) : nullptr;
            }));
    }

    bool has(ui::DialogCode code) const { return creators_.contains(code); }
    // Null when nothing is registered for the dialog's code.
    std::unique_ptr<DialogView> create(ui::Dialog& dialog, QWidget* parent) const;

private:
    std::map<ui::DialogCode, Creator> creators_;
};

}  // namespace rizorivu::qt
