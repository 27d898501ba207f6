#pragma once
// Whether the window in front runs full screen, from its rectangle and its monitor's, in
// virtual-screen pixels: a game, a slide show, a video. The taskbar's work area is not enough:
// a window must cover the whole monitor, taskbar included.

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ForegroundWindowFacts {
    ScreenRect window;
    ScreenRect monitor;
    // The desktop and the shell's windows cover the screen without being a program in front.
    bool isShell = false;
    // A maximised window with a title bar is an ordinary window, even where a hidden taskbar
    // lets its frame reach past every edge of the monitor.
    bool maximisedWithCaption = false;
};

bool IsFullScreen(const ForegroundWindowFacts& facts);
