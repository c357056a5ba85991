#include "output_files.hpp"

#include <fstream>
#include <system_error>
#include <vector>

#include "core/host_error.hpp"
#include "document/document.hpp"

namespace simhost {

std::filesystem::path OutputFiles::withExtension(const char* extension) const {
    return std::filesystem::path(stem_.string() + extension);
}

void OutputFiles::write(const Document& document, nlohmann::json report, const render::RenderOptions& options) {
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    files.emplace_back(svg(), render::renderSvg(document, options));
#ifdef SIMHOST_HAVE_CAIRO
    std::vector<std::uint8_t> pngBytes = render::renderPng(document, options);
    files.emplace_back(png(), std::string(pngBytes.begin(), pngBytes.end()));
    pngWritten_ = true;
#endif
    nlohmann::json outputs = {{"svg", svg().filename().string()}, {"json", json().filename().string()}};
    outputs["png"] = pngWritten_ ? nlohmann::json(png().filename().string()) : nlohmann::json();
    report["outputs"] = outputs;
    files.emplace_back(json(), report.dump(2) + "\n");

    std::error_code error;
    if (stem_.has_parent_path())
        std::filesystem::create_directories(stem_.parent_path(), error);
    if (error)
        throw HostError("cannot create the folder " + stem_.parent_path().string() + ": " + error.message());

    // A rename onto a folder would fail half-way through the set: refuse such a name first.
    for (const auto& [file, bytes] : files) {
        auto status = std::filesystem::symlink_status(file, error);
        if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
            !std::filesystem::is_symlink(status))
            throw HostError("cannot write " + file.string() + ": " +
                            (std::filesystem::is_directory(status) ? "a folder has that name"
                                                                   : "something other than a file has that name"));
    }

    auto temporary = [](const std::filesystem::path& file) {
        return std::filesystem::path(file.string() + ".part");
    };
    auto removeTemporaries = [&] {
        std::error_code ignored;
        for (const auto& written : files)
            std::filesystem::remove(temporary(written.first), ignored);
    };
    for (const auto& [file, bytes] : files) {
        try {
            render::writeFile(temporary(file), bytes);
        } catch (const HostError& failure) {
            removeTemporaries();
            // The user named the file, not its temporary twin.
            std::string reason = failure.what();
            auto colon = reason.rfind(": ");
            throw HostError("cannot write " + file.string() +
                            (colon == std::string::npos ? std::string() : reason.substr(colon)));
        }
    }
    for (const auto& [file, bytes] : files) {
        std::filesystem::rename(temporary(file), file, error);
        if (error) {
            removeTemporaries();
            throw HostError("cannot write " + file.string() + ": " + error.message());
        }
    }
}

std::string OutputFiles::describe(const std::string& what) const {
    // Full paths: the user may have started the program from anywhere.
    auto shown = [](const std::filesystem::path& file) {
        std::error_code error;
        auto full = std::filesystem::absolute(file, error);
        return (error ? file : full.lexically_normal()).string();
    };
    std::string text = "Wrote " + what + " to " + shown(svg()) + "\n";
    if (pngWritten_)
        text += "          and " + shown(png()) + "\n";
    else
        text += "          (no PNG: this build of the host has no cairo)\n";
    text += "The report is " + shown(json()) + "\n";
    return text;
}

}  // namespace simhost
