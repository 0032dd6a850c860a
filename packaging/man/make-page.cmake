# Writes one gzipped manual page: a hand-written SOURCE, or help2man run on PROGRAM with the
# hand-written parts in INCLUDE. Qt programs are asked for their --help without a display.
# help2man dates the page by SOURCE_DATE_EPOCH when it is set.
if(DEFINED SOURCE)
    configure_file(${SOURCE} ${OUT}.tmp COPYONLY)
else()
    set(ENV{QT_QPA_PLATFORM} offscreen)
    execute_process(
        COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${VERSION}
            --include=${INCLUDE} --output=${OUT}.tmp ${PROGRAM}
        TIMEOUT 60
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "help2man failed on ${PROGRAM}: ${result}")
    endif()
endif()
execute_process(COMMAND ${GZIP} -9nf ${OUT}.tmp RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${OUT}.tmp")
endif()
file(RENAME ${OUT}.tmp.gz ${OUT})
