#pragma once
// Why keys make no sound at the moment, as the tray shows it. Mute comes first: it is the
// user's own choice, and the rules below it hold only while their window does.

enum class QuietReason { None, Muted, FullScreen, Program, Password };
