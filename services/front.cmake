# The translation front: portable decisions (all trees) and the Win32 adapter over MainWindow's
# boxes and the two service clients.
add_library(zt_front_core STATIC ${CMAKE_CURRENT_LIST_DIR}/translation_front.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/translation_front.h)
target_include_directories(zt_front_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zt_front_core PUBLIC zt_text)

if(WIN32)
  add_library(zt_front_win32 STATIC ${CMAKE_CURRENT_LIST_DIR}/translation_front_win32.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/translation_front_win32.h)
  target_link_libraries(zt_front_win32 PUBLIC zt_front_core zt_services_win32 zt_app_controls_win32
                                              ole32)
endif()
