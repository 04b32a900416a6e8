// The in-memory file system failing its Nth file operation, in the manner of SQLite's
// I/O-error tests: once (a single failed call) or persistently (that call and every one
// after it). Creates, writes, flushes, closes, renames, copies, removes and lock takings
// count as operations; reads and existence checks do not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/memory_file_system.h"

namespace qr::testing {

class FaultFileSystem final : public MemoryFileSystem {
 public:
  int failAt = 0;           // the operation that fails first, counted from 1; 0 for none
  bool persistent = false;  // every operation after it fails too
  int operations = 0;       // operations tried so far
  bool faultInjected = false;
  std::vector<std::string> log;  // "create a.new", "write a.new FAILED", ...

  // The operations so far, one per line, for a failure message.
  std::string Sequence() const {
    std::string out;
    for (const std::string& line : log) out += "  " + line + "\n";
    return out;
  }

 protected:
  bool Fails(Op op, std::string_view path, std::string_view from) override {
    if (op == Op::Read) return false;
    ++operations;
    const bool fail = failAt > 0 && (operations == failAt || (persistent && operations > failAt));
    if (fail) faultInjected = true;
    std::string line = Name(op);
    line += ' ';
    if (!from.empty()) {
      line += from;
      line += " -> ";
    }
    line += path;
    if (fail) line += " FAILED";
    log.push_back(std::move(line));
    return fail;
  }

 private:
  static const char* Name(Op op) {
    switch (op) {
      case Op::Read:
        return "read";
      case Op::Create:
        return "create";
      case Op::Write:
        return "write";
      case Op::Flush:
        return "flush";
      case Op::Close:
        return "close";
      case Op::Rename:
        return "rename";
      case Op::Copy:
        return "copy";
      case Op::Remove:
        return "remove";
      case Op::Lock:
        return "lock";
    }
    return "?";
  }
};

}  // namespace qr::testing
