#pragma once

#include "ui/Observable.h"

namespace rizorivu::qt {

// A view's subscription to a control model, dropped with the view. The model must outlive it:
// dialogs own their controls and outlive their views.
class ModelSubscription {
public:
    ModelSubscription(ui::Observable& model, ui::Observable::Listener listener)
        : model_(model), id_(model.subscribe(std::move(listener))) {}
    ~ModelSubscription() { model_.unsubscribe(id_); }
    ModelSubscription(const ModelSubscription&) = delete;
    ModelSubscription& operator=(const ModelSubscription&) = delete;

private:
    ui::Observable& model_;
    ui::Observable::Subscription id_;
};

}  // namespace rizorivu::qt
