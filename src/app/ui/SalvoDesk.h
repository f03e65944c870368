// The controller's salvos, on its own engine through the salvo core: saved from the model,
// previewed, rehearsed, taken through the gestures' actions one step at a time (each once the
// gateway has answered the one before), and taken when a scheduled take falls due. Every answer
// is lines of text for the Salvos window. UI thread.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/GatewayEngine.h"
#include "salvo/TakeRun.h"
#include "salvo/TakeSchedule.h"

namespace mav {

using Lines = std::vector<std::string>;

class SalvoDesk {
 public:
  SalvoDesk(GatewayEngine& engine, GestureHooks& hooks);

  Lines salvos() const;
  // The changes in the form of the configuration comparison, then what refuses the take.
  Lines preview(const std::string& name) const;
  // Empty when saved, else why not.
  std::string save(const std::string& name, const std::string& ports);
  bool remove(const std::string& name);
  Lines rehearse(const std::string& name) const;
  // Starts the take; `report` gets the lines of its progress, the last one when it ends.
  void take(const std::string& name, std::function<void(const Lines&)> report);
  // option "--at" (HH:MM) or "--in" (a delay); empty when scheduled, else why not.
  std::string schedule(const std::string& name, const std::string& option,
                       const std::string& value);
  const std::vector<ScheduledTake>& scheduled() const { return schedule_.list(); }
  void cancel(int take);
  // Called when the schedule changes as a take falls due.
  void set_schedule_listener(std::function<void()> listener) { on_schedule_ = std::move(listener); }

 private:
  void run_next_step();
  void arm_schedule();
  std::filesystem::path folder() const { return engine_.folders().program; }

  GatewayEngine& engine_;
  ConnectionActions actions_;
  TakeSchedule schedule_;
  QObject timers_;
  QTimer settle_timer_;
  QTimer schedule_timer_;
  std::optional<TakeRun> take_;  // while a take is under way
  int settled_checks_ = 0;
  std::function<void(const Lines&)> report_;
  std::function<void()> on_schedule_;
};

}  // namespace mav
