#pragma once

// Switching a tool page on or off.

namespace Module1 {

void SetBspOptionsEnabled(bool on);
void SetVisOptionsEnabled(bool on);
void SetRadOptionsEnabled(bool on);

} // namespace Module1
