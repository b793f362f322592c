#pragma once

namespace mirudanto::platform {

// The screens ask for "ＭＳ Ｐゴシック" and the printed forms for "MS 明朝";
// here the IPA fonts serve them.
void InstallFontSubstitutions();

}  // namespace mirudanto::platform
