// The four scenes' play: set-up, the per-frame play with the letter logic, the robot and the
// bulldozer, and the mishap sequences.
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
// One step of the bulldozer towards the robot, with the screen wrap.
void MoveDozer();

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
