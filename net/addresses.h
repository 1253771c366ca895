// A name looked up for the waiting window without freezing it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The first IPv4 address of `name`, dotted ("127.0.0.1" stays as it is); nothing when the
// name is not found. Blocks as long as the name servers take.
std::optional<std::string> resolveIPv4(const std::string& name);

// A name looked up on a worker thread; the window that waits polls result(). A lookup given
// up before it ends leaves the worker to finish alone, its answer unread.
class NameLookup {
 public:
  using Resolve = std::function<std::optional<std::string>(const std::string& name)>;
  explicit NameLookup(const std::string& name, Resolve resolve = resolveIPv4);
  ~NameLookup();
  NameLookup(const NameLookup&) = delete;
  NameLookup& operator=(const NameLookup&) = delete;

  bool done() const;
  // Once done: the address, or nothing for a name not found.
  std::optional<std::string> result() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};
