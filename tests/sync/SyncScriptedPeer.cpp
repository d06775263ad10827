#include "tests/sync/SyncScriptedPeer.h"

#include <algorithm>
#include <cstring>

SyncScript operator+(SyncScript a, const SyncScript& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

CScriptedHandheld::CScriptedHandheld(SyncScript script) : m_script(std::move(script))
{
    size_t said = 0;
    for (const SyncStep& step : m_script) {
        if (step.kind == SyncStep::kDesktop)
            said += step.text.size();
        else
            m_chunks.push_back({said, step.text, step.kind == SyncStep::kClose, step.kind == SyncStep::kHandheldPart});
    }
}

std::string CScriptedHandheld::Expected() const
{
    std::string all;
    for (const SyncStep& step : m_script) {
        if (step.kind == SyncStep::kDesktop) all += step.text;
    }
    return all;
}

int CScriptedHandheld::Receive(uint8_t* buffer, size_t size, int timeoutMs)
{
    // Answers released together reach the desktop glued in one receive.
    std::string ready;
    size_t next = m_next, offset = m_offset;
    while (next < m_chunks.size() && m_chunks[next].after <= m_said.size() && !m_chunks[next].close &&
           ready.size() < size) {
        const std::string rest = m_chunks[next].bytes.substr(offset);
        const size_t take = std::min(rest.size(), size - ready.size());
        ready += rest.substr(0, take);
        offset += take;
        if (offset == m_chunks[next].bytes.size()) {
            const bool alone = m_chunks[next].alone;
            ++next;
            offset = 0;
            if (alone) break;
        }
    }
    if (ready.empty()) {
        if (next < m_chunks.size() && m_chunks[next].close && m_chunks[next].after <= m_said.size()) {
            return kSyncIoClosed;
        }
        m_now += timeoutMs;
        return kSyncIoTimedOut;
    }
    m_next = next;
    m_offset = offset;
    std::memcpy(buffer, ready.data(), ready.size());
    return static_cast<int>(ready.size());
}

int CScriptedHandheld::Send(const uint8_t* data, size_t size, int)
{
    // A handheld that has hung up takes nothing more.
    if (m_next < m_chunks.size() && m_chunks[m_next].close && m_chunks[m_next].after <= m_said.size()) {
        return kSyncIoError;
    }
    m_said.append(reinterpret_cast<const char*>(data), size);
    return 0;
}

SyncScript HandheldSendsFile(const std::string& name, const std::string& bytes)
{
    SyncScript script = {H("FileSend"), D("OK"), H(name), D("OK"), H(std::to_string(bytes.size())), D("OK")};
    for (size_t at = 0; at < bytes.size(); at += 4096) {
        script.push_back(H(bytes.substr(at, 4096)));
        script.push_back(D("OK"));
    }
    return script;
}

SyncScript HandheldBatch(const std::vector<std::pair<std::string, std::string>>& files)
{
    SyncScript script;
    for (const auto& file : files) script = script + HandheldSendsFile(file.first, file.second);
    return script + SyncScript{H("EndOfFiles"), D("OK")};
}

SyncScript DesktopSendsFile(const std::string& name, const std::string& bytes)
{
    SyncScript script = {D("FileSend"), H("OK"), D(name), H("OK"), D(std::to_string(bytes.size())), H("OK")};
    for (size_t at = 0; at < bytes.size(); at += 4096) {
        script.push_back(D(bytes.substr(at, 4096)));
        script.push_back(H("OK"));
    }
    return script;
}

SyncScript PhaseOneStart(const SyncFiles& database)
{
    return SyncScript{D("SendiPhoneDatabase"), H("OK"), D("OK")} + HandheldBatch(database);
}

SyncScript DesktopFolder(const SyncFiles& files)
{
    SyncScript script;
    for (const auto& file : files) script = script + DesktopSendsFile(file.first, file.second);
    return script + SyncScript{D("EndOfFiles"), H("OK")};
}

SyncScript DatabaseOnRequest(const std::string& rewritten)
{
    return SyncScript{H("SendDesktopDatabase"), D("OK"), H("OK")} + DesktopFolder({{"ZorvikanDataBase.db", rewritten}});
}

SyncScript EndConnection() { return {D("EndConnection"), H("OK")}; }

SyncScript FailedWith(const char* code)
{
    return SyncScript{D("SyncFailed"), H("OK"), D(code), H("OK")} + EndConnection();
}

namespace {

class CMemoryWriter : public ISyncFileWriter {
public:
    CMemoryWriter(std::string& target, int64_t failAfter) : m_target(target), m_failAfter(failAfter) {}
    bool Write(const uint8_t* data, size_t size) override
    {
        if (m_failAfter >= 0 && static_cast<int64_t>(m_target.size() + size) > m_failAfter) return false;
        m_target.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return true; }

private:
    std::string& m_target;
    int64_t m_failAfter;
};

class CMemoryReader : public ISyncFileReader {
public:
    explicit CMemoryReader(std::string bytes) : m_bytes(std::move(bytes)) {}
    int64_t Size() const override { return static_cast<int64_t>(m_bytes.size()); }
    bool Read(uint8_t* buffer, size_t size) override
    {
        if (m_at + size > m_bytes.size()) return false;
        std::memcpy(buffer, m_bytes.data() + m_at, size);
        m_at += size;
        return true;
    }

private:
    std::string m_bytes;
    size_t m_at = 0;
};

}  // namespace

std::unique_ptr<ISyncFileWriter> CMemorySessionWork::CreateReceivedFile(SyncBatch batch, const std::string& name)
{
    if (failCreate) return nullptr;
    std::string& target = received[batch][name];
    target.clear();
    return std::make_unique<CMemoryWriter>(target, failWriteAfter);
}

std::vector<std::string> CMemorySessionWork::ListFiles(SyncSendSet set)
{
    std::vector<std::string> names;
    for (const auto& file : toSend[set]) names.push_back(file.first);
    return names;
}

std::unique_ptr<ISyncFileReader> CMemorySessionWork::OpenFileToSend(SyncSendSet set, const std::string& name)
{
    for (const auto& file : toSend[set]) {
        if (file.first == name) return std::make_unique<CMemoryReader>(file.second);
    }
    return nullptr;
}
