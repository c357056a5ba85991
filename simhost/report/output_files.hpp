#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "render/render.hpp"

namespace simhost {

class Document;

// The three files a run writes: OUT.svg, OUT.png and the report OUT.json. All are rendered in memory
// first and then written side by side under temporary names and renamed, so a failure never leaves a
// half-written set behind; a name already taken by a folder is refused before anything is written.
class OutputFiles {
  public:
    explicit OutputFiles(std::filesystem::path stem) : stem_(std::move(stem)) {}

    std::filesystem::path svg() const { return withExtension(".svg"); }
    std::filesystem::path png() const { return withExtension(".png"); }
    std::filesystem::path json() const { return withExtension(".json"); }

    // Renders and writes; the report gains an "outputs" entry naming the files. Throws HostError.
    void write(const Document& document, nlohmann::json report, const render::RenderOptions& options);

    // One line per file, for the user, saying they hold `what` ("the design", say).
    std::string describe(const std::string& what) const;

  private:
    std::filesystem::path withExtension(const char* extension) const;

    std::filesystem::path stem_;
    bool pngWritten_ = false;
};

}  // namespace simhost
