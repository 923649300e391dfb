# Compile settings shared by every target of the project.

add_library(velmora_common INTERFACE)
target_compile_features(velmora_common INTERFACE cxx_std_17)
target_compile_options(velmora_common INTERFACE -Wall -Wextra)
if(VELMORA_WERROR)
    target_compile_options(velmora_common INTERFACE -Werror)
endif()
target_compile_definitions(velmora_common INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_DEPRECATED_WARNINGS)
target_include_directories(velmora_common INTERFACE ${PROJECT_SOURCE_DIR})

# OpenCV: only the core and imgcodecs modules, found directly, so the build
# needs neither the full OpenCV development package nor its CMake files.
find_path(VELMORA_OPENCV_INCLUDE opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
find_library(VELMORA_OPENCV_CORE opencv_core REQUIRED)
find_library(VELMORA_OPENCV_IMGCODECS opencv_imgcodecs REQUIRED)
add_library(velmora_opencv INTERFACE)
target_include_directories(velmora_opencv SYSTEM INTERFACE ${VELMORA_OPENCV_INCLUDE})
target_link_libraries(velmora_opencv INTERFACE ${VELMORA_OPENCV_IMGCODECS} ${VELMORA_OPENCV_CORE})

# TurboJPEG, for decoding camera pictures straight into the screen's pixel order.
find_path(VELMORA_TURBOJPEG_INCLUDE turbojpeg.h REQUIRED)
find_library(VELMORA_TURBOJPEG turbojpeg REQUIRED)
add_library(velmora_turbojpeg INTERFACE)
target_include_directories(velmora_turbojpeg SYSTEM INTERFACE ${VELMORA_TURBOJPEG_INCLUDE})
target_link_libraries(velmora_turbojpeg INTERFACE ${VELMORA_TURBOJPEG})

# velmora_library(NAME LIBS...): a static library of every source in the
# calling folder.
function(velmora_library name)
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.ui
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    if(NOT sources)
        # A folder whose code is still to come.
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE velmora_common ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC velmora_common ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()
