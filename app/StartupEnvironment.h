#pragma once

class QString;

// Process-wide settings made once at start, before the window is built.
namespace StartupEnvironment {

// Makes the directory of the executable current, so that ./modules/ resolves
// beside the program wherever it was started from.
void makeExecutableDirectoryCurrent(const QString& applicationFilePath);

// Uses Qt Quick's software renderer when no OpenGL context can be made
// current, instead of failing to show the scene.
void chooseSceneRenderer();

// Set transfers and the device listener each occupy a pool worker, so the
// global pool must offer at least two, even on a one-core machine.
void ensureThreadPool();

}
