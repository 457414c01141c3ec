#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/Platform.h"
#include "presentation/Catalogue.h"
#include "presentation/Screens.h"
#include "presentation/StatusPanel.h"
#include "shell/Dialogs.h"
#include "shell/MessageLoop.h"
#include "shell/TDXDraw.h"
#include "shell/TDXInput.h"
#include "shell/TDXTimer.h"

namespace krel {

// A button the player never sees; clicking it completes the level.
struct TButton {
  bool Visible = false;
  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }
};

// What differs between the real program and a headless test of it.
struct FormEnvironment {
  std::string AssetDir;
  TDXTimer::Clock Clock;
  TDXInput::Snapshot Keyboard;
  Dialogs* Boxes = nullptr;
  // Makes the display when the form is shown; throws when it cannot.
  std::function<std::unique_ptr<TDXDraw>()> MakeDisplay;
  bool OpenSound = true;
  TimeFormat Time;
  StatusPanel::LocalTime Now = &StatusPanel::SystemLocalTime;
};

// The main form: its components, its event handlers and the frame tick's dispatch.
class TForm1 final : public Platform, public LoopClient {
 public:
  // Creates the components and loads the pictures and sounds; the frame timer
  // starts and the sound device opens once loading has finished.
  explicit TForm1(FormEnvironment env);

  // Shows the form: the display initialises and raises DXDraw1Initialize.
  void Show();

  void DXTimer1Timer(std::uint32_t lagCount);
  void DXDraw1Initialize();
  void FormKeyDown(std::uint16_t key);
  void Button1Click();

  // LoopClient
  bool TimerHooked() const override { return DXTimer1.Hooked(); }
  void IdlePass() override;
  void KeyDown(std::uint16_t virtualKey) override { FormKeyDown(virtualKey); }
  void SetApplicationActive(bool active) override { DXTimer1.SetApplicationActive(active); }
  bool Ended() const override { return ended_; }

  // Platform
  void PollInputStates() override { DXInput1.Poll(); }
  std::uint8_t InputStates() const override { return DXInput1.States(); }
  void PlaySound(const std::string& name) override { DXWaveList1.PlaySound(name); }
  std::int32_t FrameRate() const override { return DXTimer1.FrameRate(); }
  void SetTimerEnabled(bool enabled) override { DXTimer1.SetEnabled(enabled); }
  void HideCursor() override;
  void DrawPauseScreen() override;
  void EndProgram() override { ended_ = true; }

  std::unique_ptr<TDXDraw> DXDraw1;
  TDXImageList DXImageList1;
  TDXTimer DXTimer1;
  TDXInput DXInput1;
  TButton Button1;
  TDXWaveList DXWaveList1;
  TDXSound DXSound1;

 private:
  Screen MakeScreen();

  FormEnvironment env_;
  std::unique_ptr<StatusPanel> panel_;
  bool ended_ = false;
};

}  // namespace krel
