#include "sound.h"

#include "paths.h"

#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>

#include <condition_variable>
#include <deque>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace terravale {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr int kFrames = 512;     // about 12 ms a buffer: a click starts within a buffer or two
constexpr int kChannels = 16;
constexpr auto kExitWait = std::chrono::milliseconds(300);

// SDL keeps one audio state per process: one worker at a time may hold it.
std::mutex &sdlOwner()
{
    static auto *owner = new std::mutex;   // never destroyed: a worker may outlive the program's end
    return *owner;
}

extern "C" void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

// Without a sound card ALSA prints its failed look-ups on stderr; a machine without sound is
// silent, not noisy.
void quietAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] {
        void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
        if (!alsa)
            return;
        using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
        if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(&ignoreAlsaError);
    });
}

struct Request {
    std::string file;   // absolute, in the file system's encoding
    bool play = true;
};

} // namespace

struct MixerSoundPlayer::Shared {
    explicit Shared(std::chrono::milliseconds idleClose) : idle(idleClose) {}
    const std::chrono::milliseconds idle;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::deque<Request> requests;
    bool stopping = false;
    bool finished = false;
    Counts counts;
};

namespace {

// Lives on the worker thread: the device, the loaded clips, and the loop that serves requests.
class Mixer {
public:
    explicit Mixer(MixerSoundPlayer::Shared &shared) : s(shared) {}
    ~Mixer()
    {
        for (auto &[file, chunk] : chunks)
            Mix_FreeChunk(chunk);
        close();
    }

    void run()
    {
        std::unique_lock lock(s.mutex);
        Clock::time_point lastSound;
        const auto pending = [this] { return s.stopping || !s.requests.empty(); };
        for (;;) {
            if (!pending()) {
                if (!isOpen) {
                    s.wake.wait(lock, pending);
                } else if (!s.wake.wait_until(lock, lastSound + s.idle, pending)) {
                    lock.unlock();
                    // A long clip still sounding keeps the device for another while.
                    if (Mix_Playing(-1) > 0)
                        lastSound = Clock::now();
                    else
                        close();
                    lock.lock();
                }
                continue;
            }
            if (s.stopping)
                return;
            std::deque<Request> batch;
            batch.swap(s.requests);
            lock.unlock();
            for (const Request &request : batch)
                serve(request);
            lastSound = Clock::now();
            lock.lock();
            s.counts.handled += int(batch.size());
        }
    }

private:
    void serve(const Request &request)
    {
        if (!open())
            return;
        Mix_Chunk *chunk = load(request.file);
        if (!chunk || !request.play)
            return;
        int channel = Mix_PlayChannel(-1, chunk, 0);
        if (channel < 0) {
            // Every channel busy: the oldest clip gives way.
            Mix_HaltChannel(Mix_GroupOldest(-1));
            channel = Mix_PlayChannel(-1, chunk, 0);
        }
        if (channel >= 0) {
            std::lock_guard lock(s.mutex);
            ++s.counts.started;
        }
    }

    Mix_Chunk *load(const std::string &file)
    {
        Mix_Chunk *&chunk = chunks[file];
        if (!chunk)
            chunk = Mix_LoadWAV(file.c_str());   // a missing or unreadable file stays null: silence
        return chunk;
    }

    bool open()
    {
        if (isOpen)
            return true;
        quietAlsa();
        // SDL's audio brings its event loop, whose signal handlers would swallow SIGTERM and SIGINT.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Terravale");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Clips");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        // The format is fixed, so clips loaded for one opening play on the next.
        if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kFrames, nullptr, 0) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        Mix_AllocateChannels(kChannels);
        isOpen = true;
        std::lock_guard lock(s.mutex);
        ++s.counts.opened;
        s.counts.deviceOpen = true;
        return true;
    }

    void close()
    {
        if (!isOpen)
            return;
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        isOpen = false;
        std::lock_guard lock(s.mutex);
        ++s.counts.closed;
        s.counts.deviceOpen = false;
    }

    MixerSoundPlayer::Shared &s;
    std::unordered_map<std::string, Mix_Chunk *> chunks;
    bool isOpen = false;
};

// Holds its own share: the player may be gone while the worker closes the device.
void work(std::shared_ptr<MixerSoundPlayer::Shared> shared)   // NOLINT(performance-unnecessary-value-param)
{
    {
        std::lock_guard owner(sdlOwner());
        Mixer mixer(*shared);
        mixer.run();
    }
    std::lock_guard lock(shared->mutex);
    shared->finished = true;
    shared->done.notify_all();
}

} // namespace

MixerSoundPlayer::MixerSoundPlayer(std::chrono::milliseconds idleClose)
    : d(std::make_shared<Shared>(idleClose))
{
    std::thread(work, d).detach();
}

MixerSoundPlayer::~MixerSoundPlayer()
{
    std::unique_lock lock(d->mutex);
    d->stopping = true;
    d->requests.clear();
    d->wake.notify_all();
    // A device that hangs on closing keeps its thread, not the program.
    d->done.wait_for(lock, kExitWait, [this] { return d->finished; });
}

void MixerSoundPlayer::enqueue(const QString &programPath, bool playIt)
{
    const QFileInfo info(resolvePath(programPath));
    if (!info.isFile())
        return;
    std::lock_guard lock(d->mutex);
    d->requests.push_back({QFile::encodeName(info.absoluteFilePath()).toStdString(), playIt});
    d->wake.notify_one();
}

void MixerSoundPlayer::play(const QString &programPath) { enqueue(programPath, true); }

void MixerSoundPlayer::preload(const QString &programPath) { enqueue(programPath, false); }

MixerSoundPlayer::Counts MixerSoundPlayer::counts() const
{
    std::lock_guard lock(d->mutex);
    return d->counts;
}

namespace {
std::shared_ptr<SoundPlayer> &current()
{
    static std::shared_ptr<SoundPlayer> player;
    return player;
}
} // namespace

SoundPlayer &soundPlayer()
{
    if (!current())
        current() = std::make_shared<MixerSoundPlayer>();
    return *current();
}

void setSoundPlayer(std::shared_ptr<SoundPlayer> player) { current() = std::move(player); }

} // namespace terravale
