// What the pages of the Options sheet share: the working copies they edit and
// the page base with the leave-page contract.
#pragma once

#include <windows.h>

#include <functional>

#include "options_model.h"
#include "property_page.h"

namespace kzo {

// A page of the sheet. It counts as shown from its first activation; a page
// never shown validates and stores nothing.
class OptionsPage : public PropertyPage {
public:
    bool activated() const { return activated_; }

    // The leave-page validation: reads the controls into the working copy.
    // False when the page refuses to be left (it has shown its message, after
    // bringing itself forward).
    virtual bool leave() { return true; }
    // The Reset button: enabled for pages that have one.
    virtual bool resettable() const { return false; }
    virtual void reset() {}

    // How the host brings this page forward (set by the host).
    void setBringForward(std::function<void()> bring) { bringForward_ = std::move(bring); }

protected:
    bool onSetActive() override {
        activated_ = true;
        return true;
    }
    bool onKillActive() override { return leave(); }
    void bringForward() {
        if (bringForward_) bringForward_();
    }

private:
    bool activated_ = false;
    std::function<void()> bringForward_;
};

}  // namespace kzo
