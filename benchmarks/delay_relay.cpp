// A TCP relay that holds every piece of data back for a fixed delay in each direction: put
// between sshfs and an SSH server on this computer, it makes a real network mount whose
// every round trip costs twice the delay, as a school's share does. (Traffic shaping in
// the kernel is not available everywhere these benchmarks run.)
//
//   delay_relay LISTEN_PORT TARGET_PORT DELAY_MICROSECONDS
//
// Listens on 127.0.0.1:LISTEN_PORT and forwards each connection to 127.0.0.1:TARGET_PORT.
// Data keeps its order and its throughput; only its arrival is later.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Piece {
    Clock::time_point due;
    std::vector<char> bytes; // empty: the sender closed
};

// One direction of one connection: a reader that stamps what arrives, a writer that sends
// each piece once its time has come.
class Pump {
public:
    Pump(int from, int to, std::chrono::microseconds delay) : from_(from), to_(to), delay_(delay) {}

    void run() {
        std::thread writer([this] { write(); });
        std::vector<char> buffer(65536);
        for (;;) {
            const ssize_t n = ::read(from_, buffer.data(), buffer.size());
            Piece piece{Clock::now() + delay_, {}};
            if (n > 0) piece.bytes.assign(buffer.data(), buffer.data() + n);
            {
                std::lock_guard lock(mutex_);
                queue_.push_back(std::move(piece));
            }
            changed_.notify_one();
            if (n <= 0) break;
        }
        writer.join();
    }

private:
    void write() {
        for (;;) {
            Piece piece;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !queue_.empty(); });
                piece = std::move(queue_.front());
                queue_.pop_front();
            }
            std::this_thread::sleep_until(piece.due);
            if (piece.bytes.empty()) {
                ::shutdown(to_, SHUT_WR);
                return;
            }
            std::size_t done = 0;
            while (done < piece.bytes.size()) {
                const ssize_t n =
                    ::write(to_, piece.bytes.data() + done, piece.bytes.size() - done);
                if (n <= 0) return;
                done += std::size_t(n);
            }
        }
    }

    int from_, to_;
    std::chrono::microseconds delay_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> queue_;
};

int connectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void noDelay(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s LISTEN_PORT TARGET_PORT DELAY_MICROSECONDS\n", argv[0]);
        return 2;
    }
    const int listenPort = std::atoi(argv[1]);
    const int targetPort = std::atoi(argv[2]);
    const std::chrono::microseconds delay(std::atol(argv[3]));
    std::signal(SIGPIPE, SIG_IGN);

    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(listenPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(server, 64) != 0) {
        std::perror("delay_relay: listen");
        return 1;
    }
    for (;;) {
        const int client = ::accept(server, nullptr, nullptr);
        if (client < 0) continue;
        const int target = connectTo(targetPort);
        if (target < 0) {
            ::close(client);
            continue;
        }
        noDelay(client);
        noDelay(target);
        std::thread([client, target, delay] {
            auto up = std::make_unique<Pump>(client, target, delay);
            auto down = std::make_unique<Pump>(target, client, delay);
            std::thread back([&down] { down->run(); });
            up->run();
            back.join();
            ::close(client);
            ::close(target);
        }).detach();
    }
}
