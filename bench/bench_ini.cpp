// INI access costs: one key from a typical settings file, one key at the end of a 1 MiB file, one
// write. Run: build/bench/bench_ini

#include "core/storage/Config.h"
#include "core/storage/IniFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const qmx::config::SettingInfo& kLastUsed = qmx::config::info(qmx::config::Setting::LastUsedSettings);
const qmx::config::SettingInfo& kLastDir = qmx::config::info(qmx::config::Setting::LastDir);

class BenchDir
{
public:
    BenchDir()
        : m_path(std::filesystem::temp_directory_path() / ("qmx bench ini " + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~BenchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string file(const std::string& name, const std::string& bytes) const
    {
        const auto p = m_path / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }

private:
    std::filesystem::path m_path;
};

std::string typicalSettings()
{
    return "[settings]\r\nSDKDir=C:\\Program Files\\Steam\\steamapps\\me\\sourcesdk\\bin\r\n"
           "LastDir=C:\\maps\\work\r\nLastFile=de_test.vmf\r\nLastMapDir=C:\\Games\\cstrike\\maps\r\n"
           "LastUsedSettings=1|1|1|0,0,1,0,,0,0,0,1,0,0|1,0|1,0,0,1,100,0,,0,|1\r\n\r\n[presets]\r\n"
           "preset1=1|1|1|0,0,1,0,,0,0,0,1,0,0|1,0|1,0,0,1,100,0,,0,|1\r\n"
           "preset2=1|0|0|0,0,0,0,,0,0,0,0,0,0|0,0|0,0,0,0,,0,,0,|0\r\n";
}

void ReadTypicalSettings(benchmark::State& state)
{
    BenchDir dir;
    const std::string file = dir.file("settings.qmxII", typicalSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(qmx::ini::readValue(file, kLastUsed.section, kLastUsed.key));
}
BENCHMARK(ReadTypicalSettings);

void ReadFromOneMebibyte(benchmark::State& state)
{
    BenchDir dir;
    std::string big;
    for (int i = 0; big.size() < (1u << 20); ++i)
        big += "[section" + std::to_string(i) + "]\r\nkey=some value of a usual length\r\n; comment\r\n\r\n";
    big += "[last]\r\nkey=found\r\n";
    const std::string file = dir.file("big.ini", big);
    for (auto _ : state)
        benchmark::DoNotOptimize(qmx::ini::readValue(file, "last", "key"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(big.size()));
}
BENCHMARK(ReadFromOneMebibyte);

void WriteOneKey(benchmark::State& state)
{
    BenchDir dir;
    const std::string file = dir.file("settings.qmxII", typicalSettings());
    int n = 0;
    for (auto _ : state)
        qmx::ini::writeValue(file, kLastDir.section, kLastDir.key, "C:\\maps\\" + std::to_string(++n));
}
BENCHMARK(WriteOneKey);

} // namespace

BENCHMARK_MAIN();
