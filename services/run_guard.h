// The end of every run, however it ends: the normal cursor back and every
// table component closed, so that an error leaves neither an hourglass nor a
// locked table behind.
#pragma once

#include "main_form_tables.h"
#include "user_interface.h"

namespace tv {

class RunGuard {
 public:
  // Sets the wait cursor.
  RunGuard(UserInterface& ui, MainFormTables& tables) : ui_(ui), tables_(tables) {
    ui_.SetWaitCursor(true);
  }
  ~RunGuard() {
    tables_.CloseAll();
    ui_.SetWaitCursor(false);
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  UserInterface& ui_;
  MainFormTables& tables_;
};

}  // namespace tv
