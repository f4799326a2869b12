// Shared set-up for tests on the simulated Windows: a machine whose files
// live in a fresh temporary folder, removed again after the test.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "app/Application.h"
#include "app/MainForm.h"
#include "platform/sim/SimPlatform.h"

class TempRoot {
 public:
  TempRoot() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("zk-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A simulated machine with one process on it.
struct SimMachine {
  TempRoot root;
  sim::SimSystem sys;
  SimMachine() { sys.fileRoot = root.path(); }
};

// The application with its main form created, as after start-up.
template <typename Form = TfrmMain>
struct RunningApp {
  sim::SimPlatform& p;
  TApplication app;
  Form* form = nullptr;
  explicit RunningApp(sim::SimPlatform& platform) : p(platform), app(platform) {
    app.Initialize();
    auto f = std::make_unique<Form>(app);
    form = f.get();
    app.SetMainForm(std::move(f));
  }
  // Dispatches what is queued, as the message loop would.
  void Pump() { app.ProcessMessages(); }
};
