// Test support: runs the built program in a folder and captures its exit
// status, standard output and standard error.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace vx::test {

struct ProcessOutcome {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string WholeFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The environment of this process, with the leak checker of a sanitized build
// told not to list the suppressions it used (that would add to standard error).
inline std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  std::string lsan = "LSAN_OPTIONS=print_suppressions=0";
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("LSAN_OPTIONS=", 0) == 0)
      lsan = entry + ":print_suppressions=0";
    else
      env.push_back(entry);
  }
  env.push_back(lsan);
  return env;
}

inline ProcessOutcome RunProgram(const std::vector<std::string>& args, const std::string& folder) {
  const std::string outFile = folder + "/.stdout";
  const std::string errFile = folder + "/.stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> argv{const_cast<char*>(VXP_BINARY)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment();
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  ProcessOutcome result;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, VXP_BINARY, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int wait = 0;
  if (::waitpid(pid, &wait, 0) == pid && WIFEXITED(wait)) result.status = WEXITSTATUS(wait);
  result.out = WholeFile(outFile);
  result.err = WholeFile(errFile);
  std::remove(outFile.c_str());
  std::remove(errFile.c_str());
  return result;
}

}  // namespace vx::test
