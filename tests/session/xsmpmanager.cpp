// A minimal X11 session manager (XSMP) for testing the reader's side of it.
// Usage: xsmpmanager READER [PREPARE]
// Starts READER as a client of this session manager, waits for it to
// register, runs PREPARE (a shell command that waits for the main window and
// may bring the reader into some state), and then:
//   1. asks it to save its state without ending the session: it must still
//      run half a second later;
//   2. ends the session: "save yourself" with shutdown, then "die": it must
//      end within about a second, with exit code 0.
// Exits 0 when both hold.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

IceListenObj *listeners = nullptr;
int listenerCount = 0;
std::vector<IceConn> connections;
SmsConn client = nullptr;
bool registered = false;
int savesDone = 0;

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "xsmpmanager: FAIL: %s\n", what.c_str());
    std::exit(1);
}

Bool acceptAnyHost(char *) { return True; }

// A client that goes away closes its connection; that is no reason to stop.
// A broken connection is served no more; it is closed at the end, outside
// the library's own error handling.
std::vector<IceConn> broken;

void forgetBrokenConnection(IceConn connection)
{
    std::erase(connections, connection);
    broken.push_back(connection);
    client = nullptr;
}

void closeConnections()
{
    connections.insert(connections.end(), broken.begin(), broken.end());
    for (IceConn connection : connections) {
        IceSetShutdownNegotiation(connection, False);
        IceCloseConnection(connection);
    }
    connections.clear();
    broken.clear();
}

Status registerClient(SmsConn connection, SmPointer, char *)
{
    char *id = SmsGenerateClientID(connection);
    SmsRegisterClientReply(connection, id);
    std::free(id);
    registered = true;
    return 1;
}

void saveYourselfDone(SmsConn, SmPointer, Bool) { ++savesDone; }
void ignoreRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void ignoreInteractRequest(SmsConn connection, SmPointer, int) { SmsInteract(connection); }
void ignoreInteractDone(SmsConn, SmPointer, Bool) {}
void ignorePhase2(SmsConn connection, SmPointer) { SmsSaveYourselfPhase2(connection); }
void closeConnection(SmsConn connection, SmPointer, int count, char **reasons)
{
    SmFreeReasons(count, reasons);
    SmsCleanUp(connection);
    client = nullptr;
}
void setProperties(SmsConn, SmPointer, int count, SmProp **properties)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
}
void deleteProperties(SmsConn, SmPointer, int count, char **names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}
void getProperties(SmsConn connection, SmPointer) { SmsReturnProperties(connection, 0, nullptr); }

Status newClient(SmsConn connection, SmPointer, unsigned long *mask, SmsCallbacks *callbacks, char **)
{
    client = connection;
    *mask = ~0UL;
    callbacks->register_client.callback = registerClient;
    callbacks->interact_request.callback = ignoreInteractRequest;
    callbacks->interact_done.callback = ignoreInteractDone;
    callbacks->save_yourself_request.callback = ignoreRequest;
    callbacks->save_yourself_phase2_request.callback = ignorePhase2;
    callbacks->save_yourself_done.callback = saveYourselfDone;
    callbacks->close_connection.callback = closeConnection;
    callbacks->set_properties.callback = setProperties;
    callbacks->delete_properties.callback = deleteProperties;
    callbacks->get_properties.callback = getProperties;
    return 1;
}

// Serves the session manager's side for a while: new connections and messages.
void serve(int milliseconds)
{
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < until) {
        // The connections polled now; one accepted below waits for the next round.
        const std::vector<IceConn> polled = connections;
        std::vector<pollfd> fds;
        for (int i = 0; i < listenerCount; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : polled)
            fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        for (int i = 0; i < listenerCount; ++i) {
            if (!(fds[size_t(i)].revents & POLLIN))
                continue;
            IceAcceptStatus status;
            if (IceConn connection = IceAcceptConnection(listeners[i], &status))
                connections.push_back(connection);
        }
        for (size_t i = 0; i < polled.size(); ++i) {
            if (fds[size_t(listenerCount) + i].revents & (POLLIN | POLLHUP))
                IceProcessMessages(polled[i], nullptr, nullptr);
        }
    }
}

bool running(pid_t reader, int *code)
{
    int status = 0;
    if (::waitpid(reader, &status, WNOHANG) == 0)
        return true;
    *code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        fail("usage: xsmpmanager READER [PREPARE]");
    char error[256] = "";
    IceSetIOErrorHandler(forgetBrokenConnection);
    if (!SmsInitialize("vargorin-test", "1.0", newClient, nullptr, acceptAnyHost, sizeof error, error))
        fail(std::string("cannot start: ") + error);
    if (!IceListenForConnections(&listenerCount, &listeners, sizeof error, error))
        fail(std::string("cannot listen: ") + error);
    for (int i = 0; i < listenerCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], acceptAnyHost);
    char *address = IceComposeNetworkIdList(listenerCount, listeners);
    ::setenv("SESSION_MANAGER", address, 1);
    std::free(address);

    const pid_t reader = ::fork();
    if (reader == 0) {
        ::execl(argv[1], argv[1], static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    // The deadlines for the reader's answers are generous: a loaded machine
    // may take seconds for what takes milliseconds on a quiet one, and they
    // cost time only when an answer never comes. The end of the session
    // itself is timed, as the reader must end at once.
    int code = 0;
    for (int waited = 0; !registered; waited += 100) {
        if (waited > 60000 || !running(reader, &code))
            fail("the reader never registered with the session manager");
        serve(100);
    }
    if (argc > 2 && std::system(argv[2]) != 0)
        fail(std::string("could not prepare: ") + argv[2]);
    serve(300);

    // A mere save: a checkpoint of the session, which goes on.
    SmsSaveYourself(client, SmSaveLocal, False, SmInteractStyleNone, False);
    for (int waited = 0; savesDone < 1; waited += 100) {
        if (waited > 30000)
            fail("no answer to a save of the session");
        serve(100);
    }
    serve(500);
    if (!running(reader, &code))
        fail("a mere save of the session ended the reader");
    std::puts("xsmpmanager: a save of the session leaves the reader running");

    // The end of the session.
    SmsSaveYourself(client, SmSaveGlobal, True, SmInteractStyleAny, False);
    for (int waited = 0; savesDone < 2; waited += 100) {
        if (waited > 30000)
            fail("no answer to the save before the end of the session");
        if (!running(reader, &code))
            break;
        serve(100);
    }
    const auto died = Clock::now();
    if (client)
        SmsDie(client);
    while (running(reader, &code)) {
        if (Clock::now() - died > std::chrono::milliseconds(1200)) {
            ::kill(reader, SIGKILL);
            fail("the reader still runs 1.2 s after the end of the session");
        }
        serve(20);
    }
    closeConnections();
    if (code != 0)
        fail("the reader ended with code " + std::to_string(code));
    std::puts("xsmpmanager: the end of the session ended the reader at once");
    return 0;
}
