// One installation as a plan: the list of its steps, each with the step that
// undoes it, built before anything is changed. Applying runs them in order; a
// step that fails undoes every step begun, the last first, so a failed
// installation leaves the earlier one as it was. Its first step records the
// installation under way (operation_record.h), so that one ended half-way is
// rolled back by the next run. The location page and the silent run both
// follow it; they differ only in how they report.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct PlanStep {
  std::string what;             // what the step does, for the log and the tests
  int failure;                  // the exit code when it fails
  bool link;                    // the links and the entry, which come after the location page
  std::function<bool()> apply;  // false when it failed, after its message
  std::function<void()> undo;   // puts back what apply changed; runs once apply has begun
};

class CInstallPlan {
 public:
  // Judges the folder the user gave: resolved into `full` (kPathSize). The
  // recorded installation's folder is an upgrade whatever else it holds (a
  // drive root excepted); any other must be a full local path of its own,
  // holding nothing but files of ours and Explorer's own files. Refusals are
  // told (logged when silent), with `reason` for the log's last line;
  // kExitSuccess or the exit code.
  static int CheckFolder(HWND owner, const char* folder, char* full, const char** reason);
  // The same judgement, told to no one: whether the folder would be taken.
  // The page proposes no folder it would then refuse.
  static bool Accepts(const char* folder);

  // The steps of an installation into g_state.targetFolder; `page` shows the
  // progress (null: none).
  void Build(HWND page);
  const std::vector<PlanStep>& Steps() const { return m_steps; }
  // Applies the steps not yet applied: the folder and the files
  // (`withLinks` false), or all of them: then the links and, last, the
  // uninstall entry. Step `failAt` fails as if its file could not be
  // written (the plan test's injected failure). kExitSuccess, or after the
  // failing step's message and everything undone, its exit code.
  int Apply(bool withLinks, size_t failAt = static_cast<size_t>(-1));
  // Every step is in place: the replaced files and an earlier installation in
  // another folder go, and the record is closed. False when a file would not
  // go: the record then stays, and the next run removes it.
  bool Finish(HWND owner);
  // Undoes every step begun so far, the last first.
  void Undo();

 private:
  void Add(const std::string& what, int failure, std::function<bool()> apply, std::function<void()> undo,
           bool link = false);
  void AddFolderSteps(HWND page);
  void AddFileSteps(HWND page);
  void AddLinkSteps(HWND owner);

  std::vector<PlanStep> m_steps;
  size_t m_begun = 0;        // steps whose apply has run
  std::string m_previous;    // the earlier installation's folder; empty when none
};

extern CInstallPlan g_plan;
