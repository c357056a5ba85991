#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace simhost {

class Dialog;

// Pictures of a dialog as the user sees it at this moment, drawn like a classic Windows dialog: the window
// frame with its title bar, then every visible item in creation order (hidden items are not drawn, disabled
// ones are greyed). The picture shows the window alone, its client area at the dialog's size; where the
// dialog stands on screen does not matter to it.

// An SVG document.
std::string renderDialogSvg(const Dialog& dialog);

// PNG file contents, drawn with cairo. Throws HostError in a build without cairo.
std::vector<unsigned char> renderDialogPng(const Dialog& dialog);

// Writes the picture to `file`, as PNG or SVG by its extension (".png", ".svg"). The file appears whole or
// not at all: it is written under a temporary name beside it and renamed. Throws HostError.
void saveDialogPicture(const Dialog& dialog, const std::filesystem::path& file);

}  // namespace simhost
