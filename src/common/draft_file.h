// The draft files of the input dialogs keep what was typed into a dialog that
// was left without computing: a fixed-size header with the settings, holding
// at a fixed offset the int32 end offset of each text in the text block, and
// after it the texts one after another, each trimmed and ended with CR LF.
// Each dialog places its own settings in the header.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qp {

struct DraftLayout {
  size_t headerSize;    // bytes before the first text
  size_t endOffsetsAt;  // where in the header the int32 end offsets stand
  size_t maxFileSize;   // a larger file is no draft the dialog wrote
};

// Stores the end offsets of the texts (trimmed, each ended with CR LF) in
// `header` and writes the header and the texts in place of the file at `path`.
// False when the texts are too long for the offsets or the file cannot be
// written.
bool WriteDraftFile(const std::string& path, const DraftLayout& layout, std::span<unsigned char> header,
                    std::span<const std::string> texts);

// The file's bytes when it can be read and holds the whole header and at most
// `layout.maxFileSize` bytes.
std::optional<std::string> ReadDraftFile(const std::string& path, const DraftLayout& layout);

// Cuts the text block after the header into `texts` at the stored end
// offsets; bytes after the last text are not part of the draft. False, with
// `texts` unchanged, when an offset runs backwards or past the end of the file.
bool ReadDraftTexts(std::string_view file, const DraftLayout& layout, std::span<std::string> texts);

}  // namespace qp
