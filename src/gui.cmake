# The Qt side: every subsystem's ui/ folder and the Qt carriers of platform/qt/ form mav_gui; the
# program itself is main() only, in qt/main.cpp.
find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia)
set(CMAKE_AUTOMOC ON)

file(GLOB_RECURSE gui_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*/ui/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/qt/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/platform/qt/*.h)

if(gui_sources)
  add_library(mav_gui STATIC ${gui_sources})
  target_link_libraries(mav_gui PUBLIC mav_core mav_bridge mav_console Qt6::Widgets Qt6::Multimedia)
  target_compile_definitions(mav_gui PRIVATE MAV_VERSION="${PROJECT_VERSION}")

  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/qt/main.cpp)
    add_executable(mav-controller qt/main.cpp)
    target_link_libraries(mav-controller PRIVATE mav_gui)
    target_compile_definitions(mav-controller PRIVATE MAV_VERSION="${PROJECT_VERSION}")
    # The installed program directory holds the VOQ-3 guide, so building the program writes it.
    if(TARGET voq_help)
      add_dependencies(mav-controller voq_help)
    endif()

    # `cmake --install` lays out a ready program directory: the program, its sounds and manual,
    # and the empty folders it keeps its files in.
    install(TARGETS mav-controller RUNTIME DESTINATION .)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Sounds DESTINATION . FILES_MATCHING
            PATTERN "*.wav")
    install(FILES "${PROJECT_SOURCE_DIR}/resources/MAV C_Help.html" DESTINATION .)
    foreach(folder Configurations Templates Icons Logs)
      install(DIRECTORY DESTINATION ${folder})
    endforeach()
  endif()
endif()
