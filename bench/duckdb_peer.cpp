#include "duckdb_peer.h"

#include <charconv>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "duckdb_export.h"

namespace zorel::bench {
namespace {

// The next space-separated number of the reply.
template <class T>
T Next(std::string_view& text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  T value{};
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc()) throw std::runtime_error("DuckDB peer: a malformed answer");
  text.remove_prefix(static_cast<std::size_t>(res.ptr - text.data()));
  return value;
}

void CheckUsable(const std::string& script) {
  try {
    if (RunToEnd({"node", "--version"}).exitCode != 0) throw std::runtime_error("node fails");
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(std::string("node is not usable (") + e.what() + ")");
  }
  const auto dir = std::filesystem::path(script).parent_path();
  if (!std::filesystem::exists(script)) throw std::runtime_error("no script " + script);
  if (!std::filesystem::exists(dir / "node_modules/@duckdb/node-api/package.json")) {
    throw std::runtime_error("@duckdb/node-api is not installed in " + dir.string() +
                             " (scripts/bench installs it with npm)");
  }
}

}  // namespace

DuckDbPeer::DuckDbPeer(const Tdm& dm, const std::string& script, const std::string& dir,
                       std::ostream& progress) {
  CheckUsable(script);
  ExportForDuckDb(dm, dir, progress);
  node_ = std::make_unique<LineChild>(std::vector<std::string>{"node", script, dir});
  std::string line;
  while (node_->ReadLine(line)) {
    if (line == "loading") {
      progress << "Loading them into DuckDB (" << dir << "/peer.duckdb) ..." << std::flush;
    } else if (line.starts_with("ready ")) {
      if (line != "ready 0") progress << ' ' << line.substr(6) << " s" << std::endl;
      return;
    } else if (line.starts_with("error ")) {
      throw std::runtime_error("the DuckDB script failed: " + line.substr(6));
    }
  }
  throw std::runtime_error("the DuckDB script ended without getting ready");
}

PeerAnswer DuckDbPeer::Run(const std::string& query, const std::vector<std::string>& args) {
  std::string request = query;
  for (const std::string& a : args) request += ' ' + a;
  node_->WriteLine(request);
  std::string line;
  if (!node_->ReadLine(line)) throw std::runtime_error("the DuckDB script ended");
  if (!line.starts_with("ok ")) throw std::runtime_error("DuckDB peer: " + line);
  std::string_view rest(line);
  rest.remove_prefix(3);
  PeerAnswer a;
  a.timing.wallMs = Next<double>(rest);
  a.timing.cpuMs = Next<double>(rest);
  a.records.resize(Next<std::size_t>(rest));
  for (auto& r : a.records) r = Next<std::int32_t>(rest);
  a.timing.resultSize = a.records.size();
  return a;
}

}  // namespace zorel::bench
