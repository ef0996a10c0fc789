// The yardstick for the game's cost of play: a plain SDL2 program that writes a changing 640x480
// frame into a streaming ARGB texture and presents it scaled over the whole screen every 30 ms,
// written the way anyone would write it with SDL's defaults. It runs until killed or closed.
//   vork-plain-sdl [SECONDS]   (0 or nothing: until closed)
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int FRAME_WIDTH = 640;
constexpr int FRAME_HEIGHT = 480;
constexpr uint32_t FRAME_MS = 30;

// Writes frame number `frame` into the locked texture: a pattern that moves one pixel a frame.
void DrawFrame(uint8_t* pixels, int pitch, uint32_t frame) {
  for (int y = 0; y < FRAME_HEIGHT; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(pixels + y * pitch);
    for (int x = 0; x < FRAME_WIDTH; ++x) {
      const uint32_t shade = static_cast<uint32_t>(x + y + frame) & 0xFF;
      row[x] = 0xFF000000u | (shade << 16) | ((shade ^ 0x55u) << 8) | (255u - shade);
    }
  }
}

// True once the window was closed or Escape pressed.
bool QuitAsked() {
  SDL_Event event;
  bool quit = false;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) quit = true;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) quit = true;
  }
  return quit;
}

// The largest 4:3 rectangle centred on an output_width x output_height screen.
SDL_Rect Letterbox(int output_width, int output_height) {
  SDL_Rect box{0, 0, output_width, output_height};
  if (output_width * FRAME_HEIGHT > output_height * FRAME_WIDTH)
    box.w = output_height * FRAME_WIDTH / FRAME_HEIGHT;
  else
    box.h = output_width * FRAME_HEIGHT / FRAME_WIDTH;
  box.x = (output_width - box.w) / 2;
  box.y = (output_height - box.h) / 2;
  return box;
}

// Draws frames until asked to quit or until `seconds` have passed (0: no limit).
void RunFrames(SDL_Renderer* renderer, SDL_Texture* texture, uint32_t seconds) {
  const uint32_t start = SDL_GetTicks();
  for (uint32_t frame = 0; !QuitAsked(); ++frame) {
    const uint32_t due = start + frame * FRAME_MS;
    if (seconds != 0 && due - start >= seconds * 1000) return;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
      DrawFrame(static_cast<uint8_t*>(pixels), pitch, frame);
      SDL_UnlockTexture(texture);
    }
    int output_width = 0;
    int output_height = 0;
    SDL_GetRendererOutputSize(renderer, &output_width, &output_height);
    const SDL_Rect box = Letterbox(output_width, output_height);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &box);
    SDL_RenderPresent(renderer);
    const uint32_t now = SDL_GetTicks();
    const uint32_t next = due + FRAME_MS;
    if (static_cast<int32_t>(next - now) > 0) SDL_Delay(next - now);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t seconds = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 0;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "vork-plain-sdl: %s\n", SDL_GetError());
    return 1;
  }
  // Made the size of the screen: full screen alone is only a request to a window manager, and
  // a bare X server (Xvfb) has none to grant it.
  SDL_DisplayMode desktop{};
  SDL_GetDesktopDisplayMode(0, &desktop);
  SDL_Window* window = SDL_CreateWindow("plain SDL", 0, 0, desktop.w, desktop.h,
                                        SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                      SDL_TEXTUREACCESS_STREAMING, FRAME_WIDTH, FRAME_HEIGHT)
                                  : nullptr;
  if (!texture) {
    std::fprintf(stderr, "vork-plain-sdl: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) == 0) std::fprintf(stderr, "vork-plain-sdl: renderer %s\n", info.name);
  RunFrames(renderer, texture, seconds);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
