// The host and the driver's wait thread use one node map at once.
#include <atomic>
#include <thread>

#include "TestSupport.h"

using namespace GenApi;

TEST(Threads, CallsFromSeveralThreadsAreSerialised)
{
    TestMap map(IntReg("Counter", 0x10) + R"(
        <Integer Name="Feature"><pValue>Counter</pValue></Integer>
        <IntSwissKnife Name="Twice"><pVariable Name="C">Counter</pVariable><Formula>C*2</Formula></IntSwissKnife>
        <Command Name="Stop"><pValue>Counter</pValue><CommandValue>0</CommandValue></Command>)");
    std::atomic<bool> odd{false};
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            map.As<IInteger>("Feature")->SetValue(i);
            if (i % 100 == 0) {
                map.mMap._InvalidateNodes();
            }
        }
    });
    std::thread executor([&] {
        for (int i = 0; i < 500; ++i) {
            map.As<ICommand>("Stop")->Execute();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        if (map.As<IInteger>("Twice")->GetValue() % 2 != 0) {
            odd = true;
        }
        map.Node("Feature")->GetAccessMode();
    }
    writer.join();
    executor.join();
    EXPECT_FALSE(odd);
}
