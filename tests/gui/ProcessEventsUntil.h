// Waiting in a program's own thread for what the worker and the window do: Qt events are
// processed until a condition holds or a generous deadline passes.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace mav::test {

template <typename Done>
bool process_events_until(Done done, int deadline_ms = 15000) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > deadline_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

}  // namespace mav::test
