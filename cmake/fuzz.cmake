# The fuzz tree: every module built with clang, coverage for libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer. libc++ stands in for
# libstdc++, whose <expected> this clang does not accept; so nothing built
# against libstdc++ (Qt, GoogleTest) takes part.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VESKCAL_FUZZ needs clang (scripts/fuzz.sh sets it up)")
endif()
if(VESKCAL_BUILD_QT OR VESKCAL_BUILD_TESTS OR VESKCAL_BUILD_BENCH)
  message(FATAL_ERROR "VESKCAL_FUZZ is a tree of its own: turn off VESKCAL_BUILD_QT, "
                      "VESKCAL_BUILD_TESTS and VESKCAL_BUILD_BENCH")
endif()
add_compile_options(-O1 -g -fno-omit-frame-pointer -stdlib=libc++
                    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
add_link_options(-stdlib=libc++ -fsanitize=address,undefined)
