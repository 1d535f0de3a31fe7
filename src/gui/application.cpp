#include "gui/application.h"

#include <algorithm>

#include "gui/platform.h"

namespace velmora::gui {
namespace {

TApplication* g_application = nullptr;

}  // namespace

const ClassInfo& TApplication::StaticClass() {
  using C = TApplication;
  static const ClassInfo info = MakeClass<C>("TApplication", TComponent::StaticClass(),
                                             {props::Text<C>("Title", &C::Title, &C::SetTitle)});
  return info;
}

TApplication* Application() {
  return g_application;
}

TApplication::TApplication() : TComponent(nullptr) {
  g_application = this;
}

TApplication::~TApplication() {
  // Forms go first, newest first, while the application they report to still exists.
  DestroyComponents();
  if (g_application == this) g_application = nullptr;
}

void TApplication::RemoveForm(TForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (main_form_ == form) main_form_ = nullptr;
}

void TApplication::Run() {
  if (main_form_ && show_main_form_) Dispatch([this] { main_form_->Show(); });
  if (!terminated_) Platform().RunMessageLoop(*this);
}

void TApplication::Terminate() {
  terminated_ = true;
  Platform().Quit();
}

void TApplication::HandleException(const std::exception& error) {
  if (OnException) {
    OnException(*this, error);
    return;
  }
  ShowMessageBox(error.what(), title_, kMbOk | kMbIconError);
}

void TApplication::Dispatch(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    HandleException(error);
  } catch (...) {
    HandleException(std::runtime_error("Unknown error"));
  }
}

int TApplication::ShowMessageBox(std::string_view text, std::string_view caption,
                                 unsigned flags) const {
  return Platform().ShowMessageBox(text, caption, flags);
}

std::uintptr_t TApplication::Handle() const {
  return Platform().ApplicationWindow();
}

void DispatchGuarded(const std::function<void()>& action) {
  if (g_application) {
    g_application->Dispatch(action);
  } else {
    action();
  }
}

}  // namespace velmora::gui
