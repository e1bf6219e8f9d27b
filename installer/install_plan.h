// One installation as a plan: each step is done together with the step that
// undoes it, and a failure anywhere undoes what was done, the last step first,
// so a failed or interrupted installation leaves the earlier one as it was.
// The location page and the silent run both follow it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CInstallPlan {
 public:
  // Judges the folder the user gave: resolved into `full` (kPathSize), it
  // must be a full local path of its own and hold nothing but files of ours
  // (an earlier installation). Refusals are told (logged when silent), with
  // `reason` for the log's last line; kExitSuccess or the exit code.
  static int CheckFolder(HWND owner, const char* folder, char* full, const char** reason);

  // Into g_state.targetFolder: makes the folder, records it in
  // "ThisProgramDir", writes every file under a temporary name, puts them in
  // place together, and writes the uninstall entry. kExitSuccess, or after the
  // failing step's message, everything undone, its exit code.
  int WriteProgram(HWND page);
  // The desktop link and the group, each replacing its old link. False when
  // one is not made; the caller undoes the plan.
  bool WriteShortcuts(HWND owner);
  // The installation succeeded: the replaced files go, and an earlier
  // installation in another folder is removed (one installation per user).
  void Finish(HWND owner);
  // Undoes every step done so far, the last first.
  void Undo();

 private:
  void Done(std::function<void()> undo) { m_undo.push_back(std::move(undo)); }
  bool MakeFolder(HWND owner);
  bool StageFiles(HWND page);
  bool PlaceFiles(HWND page);
  void SaveRegistryValues(const char* key, const char* onlyValue);
  void SaveFile(const char* path, bool isFolder);

  std::vector<std::function<void()>> m_undo;
  std::vector<std::string> m_replaced;  // the backups of the files put in place
  std::string m_previous;               // the earlier installation's folder; empty when none
};

extern CInstallPlan g_plan;

