// Plays the renderer for the image-filter module: loads it through its module descriptor,
// activates its servers and drives instances (create, load, save, process, destroy).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/dynamic_library.h"
#include "core/records.h"
#include "tools/ombrix-render/frame.h"

namespace ombrix::render {

// Told how far a frame has come: rows done of the monitor's total; returns false to abort.
using MonitorCallback = std::function<bool(uint32_t done, uint32_t total)>;

class LightWaveHost {
 public:
  LightWaveHost() = default;
  ~LightWaveHost();
  LightWaveHost(const LightWaveHost&) = delete;
  LightWaveHost& operator=(const LightWaveHost&) = delete;

  // Loads the module and checks its descriptor (synchronisation word, version, machine code).
  bool Open(const std::string& module_path, std::string& error);
  // Activates the image-filter server with interface version 1; false with the reason.
  bool ActivateHandler(std::string& error);
  // Result of activating the options interface for an instance (starts the editor and waits).
  int ActivateInterface(LWInstance instance, int32_t version = 1);
  // Activation result of the handler server for a given interface version (tests).
  int ActivateHandlerVersion(int32_t version);

  LWInstance Create();
  void Destroy(LWInstance instance);
  void Copy(LWInstance source, LWInstance target);
  // Sends the texts as the instance's scene text; the texts end with the end line or not.
  // The module's error text, empty when it took the scene.
  std::string LoadScene(LWInstance instance, const std::vector<std::string>& texts);
  std::vector<std::string> SaveScene(LWInstance instance);
  // How many texts the module read at the last LoadScene.
  size_t SceneTextsRead() const { return scene_texts_read_; }
  // Runs one frame through the instance. False when the monitor aborted it.
  bool Process(LWInstance instance, Frame& frame, int frame_number, const MonitorCallback& monitor);
  // Why the last processed frame did not get the whole effect, as the module tells; empty when
  // it did. A module that cannot tell gives its frames as failures.
  std::string FrameFailure(LWInstance instance) const;

  // Messages the module sent through the "Info Messages" global, one "line1 line2" each.
  const std::vector<std::string>& Messages() const;
  // Whether the host offers the "Info Messages" global (tests take it away).
  static void OfferMessages(bool offer);

 private:
  platform::LibraryHandle library_ = nullptr;
  const LWModuleDescriptor* descriptor_ = nullptr;
  void* startup_data_ = nullptr;
  LWImageFilterHandler handler_{};
  bool handler_active_ = false;
  size_t scene_texts_read_ = 0;
};

// A script file's bytes as scene texts: its lines without their line feeds (a carriage return
// before a line feed stays), then the end line.
std::vector<std::string> SceneTextsFromScript(const std::string& script);
// Scene texts back into a script file: each text up to the end line, followed by a line feed.
std::string ScriptFromSceneTexts(const std::vector<std::string>& texts);

}  // namespace ombrix::render
