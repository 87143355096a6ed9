// The screen-dump command, run through the shell in a folder of its own.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "device/x11/x11_device.h"

namespace veskaro {

int run_shell(const std::string& command, const std::string& folder) {
  // While the command runs, Ctrl-C and Ctrl-\ reach it alone, and its end
  // is waited for here, not taken by a SIGCHLD handler.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  struct sigaction old_int {};
  struct sigaction old_quit {};
  sigaction(SIGINT, &ignore, &old_int);
  sigaction(SIGQUIT, &ignore, &old_quit);
  sigset_t child;
  sigset_t old_mask;
  sigemptyset(&child);
  sigaddset(&child, SIGCHLD);
  sigprocmask(SIG_BLOCK, &child, &old_mask);

  // The command takes the caller's own mask and, unless the caller
  // ignored them already, the default actions of the two signals.
  sigset_t defaults;
  sigemptyset(&defaults);
  if (old_int.sa_handler != SIG_IGN) sigaddset(&defaults, SIGINT);
  if (old_quit.sa_handler != SIG_IGN) sigaddset(&defaults, SIGQUIT);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &old_mask);
  posix_spawnattr_setflags(&attr,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  std::string sh = "sh";
  std::string c = "-c";
  std::string end = "--";
  std::string text = command;
  char* argv[] = {sh.data(), c.data(), end.data(), text.data(), nullptr};
  pid_t pid = 0;
  int status = -1;
  const int err = posix_spawn(&pid, "/bin/sh", &actions, &attr, argv, environ);
  if (err == 0) {
    while (waitpid(pid, &status, 0) < 0) {
      if (errno != EINTR) {
        status = -1;
        break;
      }
    }
  }
  const int wait_err = errno;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  sigaction(SIGINT, &old_int, nullptr);
  sigaction(SIGQUIT, &old_quit, nullptr);
  sigprocmask(SIG_SETMASK, &old_mask, nullptr);
  errno = err != 0 ? err : wait_err;
  return status;
}

}  // namespace veskaro
