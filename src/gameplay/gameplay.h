// The four scenes' play. The files call downwards only: scenes.cpp (set-up, letters) over
// play_frame.cpp, over robot_and_dozer.cpp, mishaps.cpp and play_field.cpp (drawing).
#pragma once

// Places scene n's objects (n = 1..4) and makes its animal picture the backdrop; scene 1 also
// starts a new game (spare robots, flags).
int SetUpScene(int scene);
// One play frame of scene n; moves the game on when the word is complete. Always 1.
int PlayScene(int scene);
// Tests the tiles against the robot after a frame; true when scene n's word was completed.
bool CheckLetters(int scene);

// The shared part of a play frame: keys, bulldozer, felling, catch, drawing, robot, flip, wait,
// Escape. Always 1.
int RunPlayFrame();

// The robot's step by the arrow keys, blocked by trees and the screen's limits, with its walk.
void MoveRobot();
// One step of the bulldozer towards the robot, with the screen wrap.
void MoveDozer();
// Trees the bulldozer touches fall: hidden, their stumps shown.
void FellTreesUnderDozer();

// A wrong tile was touched: cage pictures, beep, a spare robot spent, robot and bulldozer back.
void WrongLetterSequence();
// The bulldozer caught the robot: crunch picture, crash, a spare robot spent, both back.
void CaughtSequence();
// Spends the leftmost spare robot, or ends the game when none is left.
void UseSpareRobot();

// Draws scene n's play field on the back surface: backdrop, trees and stumps, tiles.
void DrawSceneField(int scene);
// Draws the bulldozer and the spare robots on the back surface.
void DrawDozerAndSpareRobots();
// Draws the robot on the back surface.
void DrawRobot();
