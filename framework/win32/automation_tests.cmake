# The automation endpoint uses the driver's protocol library (framework/tools/fwdrive).
target_link_libraries(fw_win32 PUBLIC fwdrive_protocol)
