// A library that only carries tests/core/version_fixture.rc.
extern "C" int ZvVersionFixture() { return 0; }
