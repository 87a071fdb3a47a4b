#include "PageFixture.h"

TestStation* PageTest::s_station = nullptr;
CI_MainControl* PageTest::s_control = nullptr;
