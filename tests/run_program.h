// Runs the built mirova as a user does, in a folder of the test's choosing,
// with standard output and standard error kept apart.
#ifndef TESTS_RUN_PROGRAM_H
#define TESTS_RUN_PROGRAM_H

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace run_program {

struct Ran {
  int status = -1;  // the exit status; -1 when the program did not exit
  std::string out, err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// program args... run in folder (the current one when empty).
inline Ran Run(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
               const std::string& scratch) {
  const std::string outPath = scratch + "run_program.out", errPath = scratch + "run_program.err";
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  Ran ran;
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return ran;
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ran.out = Slurp(outPath);
  ran.err = Slurp(errPath);
  return ran;
}

}  // namespace run_program

#endif
