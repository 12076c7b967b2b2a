# Makes the console's catalogue OUT_DIR/lumidesk.ts with lupdate from the console's sources and the
# numbered messages, and checks that texts of the three kinds (dialog texts, marked constants, numbered
# messages) arrive, all in the one context the console looks them up in.
# cmake -DLUPDATE=... -DMESSAGE_TEXTS=... -DSOURCE_DIR=... -DOUT_DIR=... -P MakeCatalogue.cmake
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${MESSAGE_TEXTS} ${OUT_DIR}/MessageTexts.cpp RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lumidesk_message_texts failed: ${status}")
endif()
# The console's folders, the widgets it shares with the server, and the server's windows (one catalogue
# serves both programs, as the Resource setting names one translation for both).
set(shared ${SOURCE_DIR}/../desktop)
set(server ${SOURCE_DIR}/../VaneCheckServer/shell)
execute_process(COMMAND ${LUPDATE} -silent -locations none -I ${SOURCE_DIR} -I ${shared} ${SOURCE_DIR}/app
                        ${SOURCE_DIR}/common ${SOURCE_DIR}/config ${SOURCE_DIR}/operation ${SOURCE_DIR}/registration
                        ${SOURCE_DIR}/enlarge ${SOURCE_DIR}/schedule ${SOURCE_DIR}/security ${SOURCE_DIR}/tree ${shared} ${server}
                        ${OUT_DIR}/MessageTexts.cpp
                        -ts ${OUT_DIR}/lumidesk.ts
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${status}")
endif()
file(READ ${OUT_DIR}/lumidesk.ts catalogue)
string(REGEX MATCHALL "<name>[^<]*</name>" contexts "${catalogue}")
if(NOT contexts STREQUAL "<name>Lumivane</name>")
    message(FATAL_ERROR "the catalogue's contexts are ${contexts}, not Lumivane alone")
endif()
foreach(text "<source>Password Setting</source>" "<source>Administrator</source>" "<source>Monitor Status</source>"
             "<source>Monitoring</source>" "<source>Found %d monitor(s).</source>")
    string(FIND "${catalogue}" "${text}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${text} is missing from the catalogue")
    endif()
endforeach()
