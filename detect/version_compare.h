// Dotted decimal version comparison.
#pragma once

// Compares two dotted versions component by component as numbers: 1 when
// the first is greater at the first differing component, -1 when smaller,
// 0 when they do not differ; a text that runs out of components first
// counts as having zeros in the rest. Both texts are scratch
// copies: the dot that ends each component taken is overwritten with NUL.
int CompareVersions(char16_t* first, char16_t* second);

