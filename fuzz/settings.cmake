kirorin_fuzzer(settings fuzz_settings.cpp)

# Seed corpus from the tests' own file builder: defaults, 35 and 40 bytes, marker 999, and more.
add_executable(make_settings_seeds settings_seeds.cpp)
target_include_directories(make_settings_seeds PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(make_settings_seeds PRIVATE -fsanitize=address,undefined)
set(settings_seeds ${CMAKE_BINARY_DIR}/fuzz/fuzz_settings_seeds)
add_custom_command(OUTPUT ${settings_seeds}/default.sav
                   COMMAND make_settings_seeds ${settings_seeds}
                   DEPENDS make_settings_seeds
                   COMMENT "Writing the settings fuzzer's seeds")
add_custom_target(fuzz_settings_seeds ALL DEPENDS ${settings_seeds}/default.sav)
