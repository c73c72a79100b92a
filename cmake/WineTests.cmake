# Every test that starts Wine shares the build tree's prefix, QMX_TEST_WINEPREFIX. One setup test
# creates it before any of them runs (two Wine starts creating one prefix at once break it); tests
# declare that they need it with the fixture qmx_wineprefix (FIXTURES_REQUIRED).

function(qmx_add_wineprefix_fixture)
    add_test(NAME wineprefix_setup
        COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/make-wineprefix ${QMX_TEST_WINEPREFIX})
    set_tests_properties(wineprefix_setup PROPERTIES FIXTURES_SETUP qmx_wineprefix TIMEOUT 300)
endfunction()
