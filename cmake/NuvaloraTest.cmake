# In a build with the sanitizers every report fails the test: a memory or
# undefined-behaviour fault at once, leaks at the exit. Leaks inside system
# libraries are suppressed (scripts/sanitizers/lsan.supp).
set(NUVALORA_TEST_SANITIZER_ENV "")
if(NUVALORA_SANITIZE)
    set(NUVALORA_TEST_SANITIZER_ENV
        "ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/sanitizers/lsan.supp"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

# nuvalora_add_test(<name> SOURCES <files...> LIBS <targets...> [WIDGETS] [WRAPPER <script>])
# Builds one Qt Test executable and registers it with CTest. Every test runs
# under a fixed locale; WIDGETS tests run on the offscreen platform unless a
# WRAPPER script runs them in a setting of its own.
function(nuvalora_add_test name)
    cmake_parse_arguments(ARG "WIDGETS" "WRAPPER" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    # Tests may write plain string literals where the program must not.
    target_compile_options(${name} PRIVATE -UQT_NO_CAST_FROM_ASCII -UQT_NO_CAST_TO_ASCII)
    if(ARG_WRAPPER)
        add_test(NAME ${name} COMMAND bash ${ARG_WRAPPER} $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set(env "LANG=en_US.UTF-8" "LC_ALL=" "LANGUAGE=" "TZ=UTC" ${NUVALORA_TEST_SANITIZER_ENV})
    if(ARG_WIDGETS)
        # The program's own style, which the windows are laid out for.
        list(APPEND env "QT_QPA_PLATFORM=offscreen" "QT_STYLE_OVERRIDE=Windows")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300
                         LABELS "${ARG_LABELS}")
endfunction()

# nuvalora_add_test_as_user(<test>): runs a test registered above once more as
# an ordinary user, nobody (tests/common/as_ordinary_user.sh), for what root
# would never meet: a folder that refuses a new file. Its cases that need this
# skip themselves when run as root.
function(nuvalora_add_test_as_user name)
    add_test(NAME ${name}_as_user
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/common/as_ordinary_user.sh
                     $<TARGET_FILE:${name}>)
    get_test_property(${name} ENVIRONMENT env)
    get_test_property(${name} LABELS labels)
    set_tests_properties(${name}_as_user PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300
                         LABELS "${labels}")
endfunction()

# Printing is tried for real, through a CUPS scheduler of the tests' own and
# never the system's (tests/common/cups_scheduler.sh): the fixture
# test_printer starts it before the first test that needs it and stops it
# after the last. nuvalora_use_test_printer(<test>...) has tests print there,
# the program they start included (CUPS_SERVER).
set(NUVALORA_TEST_CUPS "${CMAKE_BINARY_DIR}/test-cups")
function(nuvalora_use_test_printer)
    set_property(TEST ${ARGN} APPEND PROPERTY FIXTURES_REQUIRED test_printer)
    set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT
                 "CUPS_SERVER=${NUVALORA_TEST_CUPS}/cups.sock")
endfunction()
