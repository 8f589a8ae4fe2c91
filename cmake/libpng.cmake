# libpng and zlib for the image family.
#
# Natively: Debian's libpng (find_package). For Windows: libpng cross-built as
# a static library from Debian's source tarball, which scripts/bootstrap puts
# into /usr/local/src/tunelathe-deps, against libz-mingw-w64-dev.
#
# Defines the target tunelathe::png (libpng with zlib) and the cache variable
# TUNELATHE_PNGSUITE_DIR: the PNG test images of the same tarball, extracted
# into the build tree for the image tests.
include_guard(GLOBAL)

set(TUNELATHE_DEPS_DIR /usr/local/src/tunelathe-deps)
file(GLOB tarballs ${TUNELATHE_DEPS_DIR}/libpng1.6_*.orig.tar.gz)
set(TUNELATHE_LIBPNG_TARBALL "")
if(tarballs)
    list(SORT tarballs)
    list(GET tarballs -1 TUNELATHE_LIBPNG_TARBALL)  # the newest, should there be several
endif()
if(NOT TUNELATHE_LIBPNG_TARBALL AND (CMAKE_CROSSCOMPILING OR TUNELATHE_TESTS))
    message(FATAL_ERROR
        "libpng source tarball not found (${TUNELATHE_DEPS_DIR}/libpng1.6_*.orig.tar.gz). "
        "Run scripts/bootstrap (as root) to download it.")
endif()

if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    set(prefix ${CMAKE_BINARY_DIR}/libpng)
    set(triplet_root /usr/${TUNELATHE_MINGW_TRIPLET})
    set(zlib_library ${triplet_root}/lib/libz.a)
    set(png_library ${prefix}/lib/libpng16.a)
    # Checks that the tarball built is the one found at configure time.
    file(SHA256 ${TUNELATHE_LIBPNG_TARBALL} tarball_hash)
    ExternalProject_Add(libpng_external
        URL ${TUNELATHE_LIBPNG_TARBALL}
        URL_HASH SHA256=${tarball_hash}
        PREFIX ${prefix}
        DOWNLOAD_EXTRACT_TIMESTAMP ON
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
            -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_INSTALL_PREFIX=${prefix}
            -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
            -DZLIB_LIBRARY=${zlib_library}
            -DZLIB_INCLUDE_DIR=${triplet_root}/include
        BUILD_BYPRODUCTS ${png_library})
    # The imported target's include folder must exist before libpng is built.
    file(MAKE_DIRECTORY ${prefix}/include)
    add_library(tunelathe_png STATIC IMPORTED GLOBAL)
    set_target_properties(tunelathe_png PROPERTIES
        IMPORTED_LOCATION ${png_library}
        INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
        INTERFACE_LINK_LIBRARIES ${zlib_library})
    add_dependencies(tunelathe_png libpng_external)
    add_library(tunelathe::png ALIAS tunelathe_png)
else()
    find_package(PNG REQUIRED)
    add_library(tunelathe_png INTERFACE)
    target_link_libraries(tunelathe_png INTERFACE PNG::PNG)
    add_library(tunelathe::png ALIAS tunelathe_png)
endif()

if(TUNELATHE_TESTS)
    set(TUNELATHE_PNGSUITE_DIR ${CMAKE_BINARY_DIR}/pngsuite CACHE INTERNAL "PNG test images")
    if(NOT EXISTS ${TUNELATHE_PNGSUITE_DIR}/basn0g01.png)
        file(ARCHIVE_EXTRACT INPUT ${TUNELATHE_LIBPNG_TARBALL} DESTINATION ${CMAKE_BINARY_DIR}/pngsuite-extract
             PATTERNS "*/contrib/pngsuite/*.png")
        file(GLOB_RECURSE suite_files ${CMAKE_BINARY_DIR}/pngsuite-extract/*.png)
        file(MAKE_DIRECTORY ${TUNELATHE_PNGSUITE_DIR})
        foreach(file IN LISTS suite_files)
            # The interlaced/ subfolder's images get an "interlaced-" prefix.
            get_filename_component(name ${file} NAME)
            get_filename_component(folder ${file} DIRECTORY)
            get_filename_component(folder ${folder} NAME)
            if(folder STREQUAL "interlaced")
                set(name "interlaced-${name}")
            endif()
            file(COPY_FILE ${file} ${TUNELATHE_PNGSUITE_DIR}/${name})
        endforeach()
        file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/pngsuite-extract)
    endif()
endif()
