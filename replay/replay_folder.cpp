#include "replay/replay_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr char kStampFormat[] = "%Y-%m-%d_%H-%M-%S";

// Sortable by name: the oldest first.
std::string timeStamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, kStampFormat, &local);
  return text;
}

// A name not yet taken: two battles can end within one second.
fs::path freeName(const fs::path& folder, const std::string& stem) {
  std::error_code ec;
  fs::path path = folder / (stem + kReplayExtension);
  for (int n = 2; fs::exists(path, ec); ++n)
    path = folder / (stem + "_" + std::to_string(n) + kReplayExtension);
  return path;
}

bool writeAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// Far beyond any replay the recorder writes; a larger file is read no further.
constexpr std::streamsize kMaxFileBytes = 64 << 20;

// Sorted by name: the oldest first.
std::vector<fs::path> replaysIn(const fs::path& folder) {
  std::error_code ec;
  std::vector<fs::path> replays;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == kReplayExtension) replays.push_back(entry.path());
  }
  std::sort(replays.begin(), replays.end());
  return replays;
}

void pruneOldest(const fs::path& folder) {
  std::error_code ec;
  const std::vector<fs::path> replays = replaysIn(folder);
  if (replays.size() <= static_cast<size_t>(kReplaysKept)) return;
  const size_t surplus = replays.size() - kReplaysKept;
  for (size_t i = 0; i < surplus; ++i) fs::remove(replays[i], ec);
}

}  // namespace

std::string replayFolderBeside(const std::string& settingsFile) {
  return (fs::path(settingsFile).parent_path() / "Wiederholungen").string();
}

std::string saveReplay(const std::string& folder, const Replay& replay, std::string& problem) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    problem = "Ordner " + folder + " nicht anlegbar: " + ec.message();
    return {};
  }
  const fs::path path = freeName(folder, timeStamp());
  fs::path temporary = path;
  temporary += ".tmp";
  if (!writeAll(temporary, encodeReplay(replay))) {
    fs::remove(temporary, ec);
    problem = temporary.string() + " nicht schreibbar";
    return {};
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    problem = path.string() + " nicht anlegbar: " + ec.message();
    return {};
  }
  pruneOldest(folder);
  return path.string();
}

void keepReplay(const std::string& folder, const Replay& replay) {
  if (folder.empty()) return;
  std::string problem;
  if (saveReplay(folder, replay, problem).empty())
    std::cerr << "kaperfahrt: Wiederholung nicht gespeichert: " << problem << "\n";
}

ReplayReading loadReplay(const std::string& path, bool anyBuild) {
  const ReplayReading unreadable{.problem = ReplayProblem::Unreadable};
  std::ifstream in(path, std::ios::binary);
  if (!in) return unreadable;
  std::vector<uint8_t> bytes(static_cast<size_t>(kMaxFileBytes) + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), kMaxFileBytes + 1);
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return unreadable;
  if (bytes.size() > static_cast<size_t>(kMaxFileBytes))
    return {.problem = ReplayProblem::NotAReplay};
  return readReplay(bytes, anyBuild);
}

std::vector<std::string> replayFiles(const std::string& folder) {
  std::vector<std::string> files;
  const std::vector<fs::path> replays = replaysIn(folder);
  for (auto it = replays.rbegin(); it != replays.rend(); ++it) files.push_back(it->string());
  return files;
}

bool replayNameTime(const std::string& path, std::tm& local) {
  std::istringstream name(fs::path(path).stem().string());
  local = std::tm{};
  name >> std::get_time(&local, kStampFormat);
  return !name.fail() && (name.peek() == std::char_traits<char>::eof() || name.peek() == '_');
}
