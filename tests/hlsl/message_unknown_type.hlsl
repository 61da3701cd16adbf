// kind: message
// profile: ps_2_0 main
// expect: fails unrecognized identifier 'floaty4'
floaty4 main() : COLOR { return 1; }
