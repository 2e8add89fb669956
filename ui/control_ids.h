#pragma once

namespace tavrel {

// Control identifiers, also known to the end-to-end tests. None is IDOK or IDCANCEL, so the
// dialog keys Enter and Escape reach no button.
constexpr int kCommand1Id = 101;  // Form1's OK
constexpr int kCommand2Id = 102;  // Form1's Cancel
constexpr int kLabel1Id = 103;    // Form1's explanatory line
constexpr int kLabelId = 201;     // frmWait's "セットアップ中．．．"

}  // namespace tavrel
