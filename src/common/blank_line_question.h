// A blank line ends an input table, and the lines after it are not read.
// Users separate stations or groups that way, so before a table is read the
// user is asked whether to go on without those lines; the desktop then puts
// the cursor on the blank line of a table the user did not want cut.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/platform_services.h"

namespace qp {

// A table box as the question names it: the caption the user knows it by
// (UTF-8), its index among the dialog's boxes, and the number the box's
// line messages give its first line.
struct TableBoxName {
  const char* caption;
  int box;
  int firstLineNumber;
};

// When a blank line ends the table `boxText` with lines after it, asks
// "[caption]第[n]行为空行, 其后m行将不被读入, 继续吗?" (Yes/No, No the
// default, a warning icon: input is about to be left out). True to go on:
// no such blank line, or Yes. On No the blank line is noted for the
// BlankLineRefusal alive on this thread.
bool ConfirmBlankLineCut(std::string_view boxText, const TableBoxName& name, PlatformServices& platform);

// ConfirmBlankLineCut for the boxes `order` (indices into `boxes`, each
// with the caption `captionOf` gives it), stopping at the first No.
bool ConfirmBlankLineCuts(std::span<const std::string> boxes, std::span<const int> order,
                          const char* (*captionOf)(int box), int firstLineNumber, PlatformServices& platform);

// The blank line of a question answered No, while one of these is alive on
// the thread: the dialogs select that line when their action stops.
class BlankLineRefusal {
 public:
  struct Line {
    int box = 0;
    int line = 0;  // zero-based line of the box
  };

  BlankLineRefusal();
  ~BlankLineRefusal();
  BlankLineRefusal(const BlankLineRefusal&) = delete;
  BlankLineRefusal& operator=(const BlankLineRefusal&) = delete;

  const std::optional<Line>& Refused() const { return refused_; }

 private:
  friend bool ConfirmBlankLineCut(std::string_view, const TableBoxName&, PlatformServices&);
  BlankLineRefusal* previous_;
  std::optional<Line> refused_;
};

}  // namespace qp
