# Optional Authenticode signing of the shipped programs. Without a PKCS#12
# file nothing is signed. The converter is signed before the installer embeds
# it, and the installer before its package manifests are filled, so both carry
# the signed bytes.
set(QTRA_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file (certificate and key) to sign qtra.exe and qtrasx.exe with")
set(QTRA_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of QTRA_SIGN_PKCS12")
set(QTRA_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server for the signatures (optional)")

if(QTRA_SIGN_PKCS12 OR QTRA_SIGN_PASSWORD_FILE)
  foreach(file QTRA_SIGN_PKCS12 QTRA_SIGN_PASSWORD_FILE)
    if(NOT EXISTS "${${file}}")
      message(FATAL_ERROR "${file} names no file: '${${file}}' (signing needs both QTRA_SIGN_PKCS12 and QTRA_SIGN_PASSWORD_FILE)")
    endif()
  endforeach()
  find_program(QTRA_OSSLSIGNCODE osslsigncode REQUIRED)
endif()

# Signs `target`'s file in place once it is linked (a no-op without signing).
function(qtra_sign_after_build target)
  if(NOT QTRA_SIGN_PKCS12)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign-program ${QTRA_SIGN_PKCS12} ${QTRA_SIGN_PASSWORD_FILE}
            "${QTRA_SIGN_TIMESTAMP_URL}" $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
