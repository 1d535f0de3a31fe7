// TApplication: the program's forms, its title, the message loop and the application-wide
// error handler.
//
// One application object exists at a time; Application() returns it. Every exception that
// escapes an event handler while the loop dispatches a message or a timer tick reaches
// HandleException, which shows it in an error message box captioned with the title; the
// program then goes on.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "gui/form.h"

namespace velmora::gui {

class TApplication : public TComponent {
  VELMORA_CLASS()

 public:
  TApplication();
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // All forms in creation order.
  const std::vector<TForm*>& Forms() const { return forms_; }
  // The first form created through CreateForm unless set otherwise.
  TForm* MainForm() const { return main_form_; }
  void SetMainForm(TForm* form) { main_form_ = form; }
  // Whether Run shows the main form as the loop starts.
  bool ShowMainForm() const { return show_main_form_; }
  void SetShowMainForm(bool show) { show_main_form_ = show; }

  template <class F>
  F& CreateForm() {
    F& form = gui::CreateForm<F>(this);
    if (!main_form_) {
      if constexpr (std::is_base_of_v<TForm, F>) main_form_ = &form;
    }
    return form;
  }

  // Shows the main form (if ShowMainForm) and runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Shows `error` in an error message box captioned with the title (or gives it to
  // OnException when assigned).
  void HandleException(const std::exception& error);
  // Runs `action`; anything it throws goes to HandleException. For the places that dispatch
  // input and timer ticks to event handlers.
  void Dispatch(const std::function<void()>& action);

  // A message box through the platform, captioned with `caption`.
  int ShowMessageBox(std::string_view text, std::string_view caption, unsigned flags) const;
  // The hidden application-level window (0 without a platform window).
  std::uintptr_t Handle() const;

  Event<TObject&, const std::exception&> OnException;

 private:
  friend class TForm;
  void AddForm(TForm* form) { forms_.push_back(form); }
  void RemoveForm(TForm* form);

  std::string title_;
  std::vector<TForm*> forms_;
  TForm* main_form_ = nullptr;
  bool show_main_form_ = true;
  bool terminated_ = false;
};

// The application object in existence, or null.
TApplication* Application();

// Runs `action` under the application's error handler when there is an application;
// without one the error propagates.
void DispatchGuarded(const std::function<void()>& action);

}  // namespace velmora::gui
