// SPDX-License-Identifier: GPL-3.0-or-later
// Packets of every kind, each checked against what it leaves (Describe in decoder_fixture.h).
#include <sstream>
#include <string>
#include <vector>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

// A case a line: its packets (" ++ " between several), " =>" and what the stores then hold.
const char* const kCases = R"(
N0CALL-9>APRS,WIDE1-1,WIDE2-2*:>hi => N0CALL-9 /> via=WIDE1-1,WIDE2-2* info='hi'
N1CALL>DIGI1>DIGI2>APRS:>hi => N1CALL via=DIGI1,DIGI2 info='hi'
N2CALL/P>APRS:>x => N2CALL info='x'
N3CALL>APRS,WIDE1-1 [UI]:>x => N3CALL via=WIDE1-1 info=' [UI]:>x'
N4CALL>APRS => N4CALL
N5CALL>APRS: => N5CALL
  N6CALL>APRS:>a\x09b\x0Bc\x0D\x0A => N6CALL info='a b c'
\xC4\xD6\xDC>APRS:>x => \xC4\xD6\xDC info='x'
cmd: =>
N0CALL APRS:>x =>
>APRS:>x =>
N0_CALL>APRS:>x =>
n0own>APRS:>x ++ N0OWN-1>APRS:>x ++ N0OWN>APRS:>x => N0OWN-1 /a info='x' | n0own info='x' | heard 1
A1>GPSC12:>s => A1 /, >GPSC12 {GPS-Equipped Tracker (C12)} info='s'
A2>GPSE01:>s => A2 \! >GPSE01 {GPS-Equipped Tracker (E01)} info='s'
A3>gpsc12:>s => A3 /, >gpsc12 {gpsc12} info='s'
A4>GPSCA2:>s => A4 >GPSCA2 {GPS-Equipped Tracker (CA2)} info='s'
A5>GPSC95:>s => A5 >GPSC95 {GPS-Equipped Tracker (C95)} info='s'
A6>SYMOB:>s => A6 \! >SYMOB {SYMOB} info='s'
A7>GPSOBA:>s => A7 A! >GPSOBA {GPS-Equipped Tracker (OBA)} info='s'
A8>SPCOB1:>s => A8 1! >SPCOB1 {SPCOB1} info='s'
A9>GPSLA:>s => A9 /a >GPSLA {GPS-Equipped Tracker (LA)} info='s'
B2>GPSJ3:>s => B2 /} >GPSJ3 {GPS-Equipped Tracker (J3)} info='s'
B3>GPSJ2:>s => B3 >GPSJ2 {GPS-Equipped Tracker (J2)} info='s'
B6-9>GPSXX:>s => B6-9 >GPSXX {GPS-Equipped Tracker (XX)} info='s'
B7-9>GPS:>s => B7-9 /> >GPS {GPS-Equipped Tracker ()} info='s'
B8-9>APRS:>s => B8-9 /> info='s'
B9-0>APRS:>s => B9-0 info='s'
C2-16>APRS:>s => C2-16 info='s'
C3-7>APRS:>s => C3-7 /' info='s'
C4-99999999999999999999>APRS:>s => C4-99999999999999999999 info='s'
C5-1-2>APRS:>s => C5-1-2 /U info='s'
D2/P-9>APRS:>s => D2 info='s'
D3-2/P-9>APRS:>s => D3-2 /U info='s'
-9>APRS:>s => -9 info='s'
K8>APRS:>\x09x\x0Bxx\x0Dxxx\x09xxxx\x0Bxxxxx\x09xxxxxx\xE9 => K8 info=' x xx xxx xxxx xxxxx xxxxxx\xE9'
K9>APRS:>\xD0\xA0\xC5\x85 \xD0\xA0 => K9 info='\xD0\xA0\xC5\x85 \xD0\xA0'
N0CALL-9>APRS:!4903.50N/07201.75W- ++ N0CALL-9>GPSC12:>s
    => N0CALL-9 /- @4903.5000N 07201.7500W >GPSC12 {GPS-Equipped Tracker (C12)} info='s'
N1CALL-9>APRS:>s ++ N1CALL-9>APRS:!4903.50N/07201.75W-
    => N1CALL-9 /- @4903.5000N 07201.7500W info='s'
N0CALL>APRS:;LEADER   *092345z4903.50N/07201.75W>Live
    => LEADER /> @4903.5000N 07201.7500W t=09234500 by=N0CALL 'Live'
N0CALL>APRS:;LEADER   *092345z4903.50N/07201.75W>Live ++ N0CALL>APRS:;LEADER   _092345z4903.50N/07201.75W>
    => LEADER /> @4903.5000N 07201.7500W t=09234500 by=N0CALL killed
N0CALL>APRS:; OBJ 2   *092345z4903.50N/07201.75W>
    => OBJ 2 /> @4903.5000N 07201.7500W t=09234500 by=N0CALL
N0CALL>APRS:;SHORT*4903.50N/07201.75W> =>
N0CALL>APRS:;NOFLAG   x4903.50N/07201.75W> =>
N0CALL>APRS:;NOFLAG\x20\x20\x20 =>
N0CALL>APRS:)AID #2!4903.50N/07201.75WA => AID #2 /A @4903.5000N 07201.7500W by=N0CALL
N0CALL>APRS:)ITEMNAME9!4903.50N/07201.75WA => ITEMNAME9 /A @4903.5000N 07201.7500W by=N0CALL
N0CALL>APRS:)GONE_4903.50N/07201.75WA => GONE /A @4903.5000N 07201.7500W by=N0CALL killed
N0CALL>APRS:)A_B!4903.50N/07201.75WA => A_B /A @4903.5000N 07201.7500W by=N0CALL
N0CALL>APRS:)TOOLONGNAME!4903.50N/07201.75WA =>
N0CALL>APRS:)ITEM 4903.50N/07201.75WA =>
N0CALL>APRS:)!4903.50N/07201.75WA =>
N0CALL-1>APRS,WIDE2-1*:}N0CALL>APRS,TCPIP*:>ok
    => N0CALL via=TCPIP,N0CALL-1,WIDE2-1* info='ok' | N0CALL-1 /a > {}
N1CALL>APRS:}N2CALL>APRS:>x => N2CALL via=N1CALL* info='x'
N1CALL>APRS,WIDE1*,WIDE2:}N3CALL>APRS,DIGI*,X:>x => N3CALL via=DIGI,N1CALL,WIDE1* info='x'
N0CALL-1>APRS:}N0OWN>APRS,TCPIP*:>mine => N0CALL-1 /a > {} | heard 1
K1OUT-9>APRS,WIDE1-1:}K1IN-9>APRS,TCPIP,K1OUT-9*:!4903.50N/07201.75W-
    => K1IN-9 /- @4903.5000N 07201.7500W via=TCPIP,K1OUT-9,K1OUT-9,WIDE1-1* | K1OUT-9 /> > {}
N0CALL>APRS:<IGATE,MSG_CNT=0 => N0CALL info='<IGATE,MSG_CNT=0'
N1CALL>APRS:T#005,199,000,255,073,123,01101001
    => N1CALL info='T#005,199,000,255,073,123,01101001' tlm#5 199,0,255,73,123 bits=01101001
N2CALL>APRS:%NOPREFIX*092345z4903.50N/07201.75W>
    => %NOPREFIX /> @4903.5000N 07201.7500W t=09234500 by=N2CALL
N3CALL>APRS:Xjunk!4903.50N/07201.75W-found => N3CALL /- @4903.5000N 07201.7500W 'found'
N0CALL>APRS:[JO22ab =>
N0CALL>APRS::N0CALL-5 :Hello{12 => msg N0CALL>N0CALL-5 'Hello{12'
N0CALL>APRS::N2CALL   : => msg N0CALL>N2CALL ''
N0CALL>APRS::N0CALL:Hi =>
N0CALL>APRS::SHORT =>
N1CALL>APRS:?APRS? => msg N1CALL> '?APRS?'
N1CALL>APRS:?aprs? extra => msg N1CALL> '?aprs?'
N1CALL>APRS:?WX? =>
N1CALL>APRS:?APRS =>
N1CALL>APRS:?IGATE?   :text => msg N1CALL>IGATE? 'text'
$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47\x0D =>
N0CALL>APRS,WIDE:$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47
    => N0CALL via=WIDE | gps N0CALL>APRS,WIDE $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47
P1>APRS:!4903.50N/07201.75W-Test => P1 /- @4903.5000N 07201.7500W 'Test'
P2>APRS:=4903.50S\07201.75E# => P2 \# @4903.5000S 07201.7500E
P3>APRS:@092345z4903.50N/07201.75W> => P3 /> @4903.5000N 07201.7500W t=09234500
P4>APRS:/092345/4903.50N/07201.75W> => P4 /> @4903.5000N 07201.7500W t=09234500
P5>APRS:@234517H4903.50N/07201.75W> => P5 /> @4903.5000N 07201.7500W t=09234517
P6>APRS:!49  .  N/072  .  W- => P6 /- @4900.0000N 07200.0000W
P7>APRS:!4903.50n/07201.75wS => P7 /S @4903.5000N 07201.7500W
P8>APRS:!4903.50NS07201.75W#overlay => P8 S# @4903.5000N 07201.7500W 'overlay'
P9>APRS:@092345x4903.50N/07201.75W> => P9 info='@092345x4903.50N/07201.75W>'
Q1>APRS:@092345 => Q1 info='@092345'
Q2>APRS:/092345z => Q2 info='/092345z'
Q3>APRS:!4903.50Q/07201.75W- => Q3 info='!4903.50Q/07201.75W-'
Q4>APRS:!4903.50N/07201.75Q- => Q4 info='!4903.50N/07201.75Q-'
Q5>APRS:!4903.50N/07201.75W => Q5 info='!4903.50N/07201.75W'
Q6>APRS:!4903.50N => Q6 info='!4903.50N'
Q7>APRS:! => Q7 info='!'
Q8>APRS:!493.50N/07201.75W-short => Q8 /- 'short'
R1>APRS:=/5L!!<*e7>7P[ => R1 /> @4930.0000N 07245.0000W mv=88/36
R2>APRS:!/5L!!<*e7>{?!Range => R2 /> @4930.0000N 07245.0000W rng=20.13 'Range'
R3>APRS:!/5L!!<*e7>  !plain => R3 /> @4930.0000N 07245.0000W 'plain'
R4>APRS:@092345z/5L!!<*e7>7P[moving => R4 /> @4930.0000N 07245.0000W t=09234500 mv=88/36 'moving'
R5>APRS:!a5L!!<*e7#7P[ => R5 0# @4930.0000N 07245.0000W mv=88/36
R7>APRS:!D5L!!<*e7#7P[ => R7 D# @4930.0000N 07245.0000W mv=88/36
R8>APRS:!/5L!!<*e7>7 => R8 /> @4930.0000N 07245.0000W
S1>APRS:!/eN!!Q#!!>  ! => S1 /> @4530.0000S 01000.0000E
S2>APRS:!/5L!!<*e7 => S2 info='!/5L!!<*e7'
S3>APRS:!/\x01\x01\x01\x01<*e7>7P[ => S3 info='!/\x01\x01\x01\x01<*e7>7P['
S4>APRS:!/5L!!\xFF\xFF\xFF\xFF>7P[ => S4 info='!/5L!!\xFF\xFF\xFF\xFF>7P['
C1>APRS:=/5L!!<*e7OS]S => C1 /O @4930.0000N 07245.0000W alt=30492
C2>APRS:=/5L!!<*e7O{?! => C2 /O @4930.0000N 07245.0000W rng=20.13
C3>APRS:=/5L!!<*e7O!!! => C3 /O @4930.0000N 07245.0000W mv=0/0
C4>APRS:=/5L!!<*e7Oz{! => C4 /O @4930.0000N 07245.0000W mv=356/1017
C5>APRS:=/5L!!<*e7O{{S => C5 /O @4930.0000N 07245.0000W alt=46639152
C6>APRS:=/5L!!<*e7O\x10P[ => C6 /O @4930.0000N 07245.0000W
C7>APRS:=/5L!!<*e7O7\xFFS => C7 /O @4930.0000N 07245.0000W
M1>S32U6T:'(#fpPO>/
    => M1 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
M4>S32U6T:`(#fpPO>/]#%k}Hello
    => M4 /> @3325.6400N 01207.7400W alt=70000 mv=251/45 [Returning] >TM-D700 {Kenwood TM-D700} 'Hello' info='Hello'
M5>S32U6T:`(#fpPO>\text
    => M5 \> @3325.6400N 01207.7400W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device} 'text' info='text'
M6>S32U6L:'(#fpPO>/
    => M6 /> @3325.6000N 01207.7000E mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
M7>S32L6T:'(#fpPO>/
    => M7 /> @3320.0000S 01200.0000W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
M8>SZZZZZ:'(#fpPO>/
    => M8 /> @3000.0000N 11000.0000W mv=251/45 [Off Duty] >Mic-E {Mic-E/Pic-E Device}
M9>S32UPT:'v#fpPO>/
    => M9 /> @3325.0400N 00007.7400W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
N1>S32UPT:'l#fpPO>/
    => N1 /> @3325.0400N 10007.7400W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
N2>S32UPT:'&#fpPO>/
    => N2 /> @3325.0400N 11007.7400W mv=251/45 [Returning] >Mic-E {Mic-E/Pic-E Device}
N3>PPPU6T:'(#fpPO>/
    => N3 /> @0005.6400N 01207.7400W mv=251/45 [Off Duty] >Mic-E {Mic-E/Pic-E Device}
N4>000U6T:'(#fpPO>/
    => N4 /> @0005.6400N 01207.7400W mv=251/45 [Emergency!] >Mic-E {Mic-E/Pic-E Device}
N5>A32U6T:'(#fpPO>/
    => N5 /> @0325.6400N 01207.7400W mv=251/45 [Custom-3] >Mic-E {Mic-E/Pic-E Device}
M0>AP2U6T:'(#fpPO>/
    => M0 /> @0025.6400N 01207.7400W mv=251/45 [Unknown] >Mic-E {Mic-E/Pic-E Device}
N6>S32U6T:'(#f\x1C\x1C\x1C>/
    => N6 /> @3325.6400N 01207.7400W mv=0/0 [Returning] >Mic-E {Mic-E/Pic-E Device}
N7>S32U6T:'(#f\x01PO>/ => N7 /> @3325.6400N 01207.7400W [Returning] >Mic-E {Mic-E/Pic-E Device}
N8>S32U6T:'(#fpPO>/]\x01%k}Hi
    => N8 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >TM-D700 {Kenwood TM-D700} '\x01%k}Hi' info='\x01%k}Hi'
P1>S32U6T:'(#fpPO>/]Hi=
    => P1 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >TM-D710 {Kenwood TM-D710} 'Hi' info='Hi='
P2>S32U6T:'(#fpPO>/>Hi^ => P2 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >TH-D74 {Kenwood TH-D74} 'Hi' info='Hi^'
P3>S32U6T:'(#fpPO>/`Hi_  => P3 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >VX-8 {Yaesu VX-8} 'Hi' info='Hi_'
P4>S32U6T:'(#fpPO>/`Hi_) => P4 /> @3325.6400N 01207.7400W mv=251/45 [Returning] >FTM-100D {Yaesu FTM-100D} 'Hi' info='Hi_)'
N9>S32U6T:'\x01#fpPO>/ => N9 >S32U6T {S32U6T} info=''\x01#fpPO>/'
O1>S32U6T:'(\x01fpPO>/ => O1 >S32U6T {S32U6T} info=''(\x01fpPO>/'
O2>S32U6T:'(#\x01pPO>/ => O2 >S32U6T {S32U6T} info=''(#\x01pPO>/'
O3>S32U6T:'\xFF#fpPO>/ => O3 >S32U6T {S32U6T} info=''\xFF#fpPO>/'
O4>S32U6T:'(#\xFFpPO>/ => O4 >S32U6T {S32U6T} info=''(#\xFFpPO>/'
O5>S32U6:'(#fpPO>/ => O5 >S32U6 {S32U6} info=''(#fpPO>/'
O6>S32U6T:'(#fpPO> => O6 >S32U6T {S32U6T} info=''(#fpPO>'
F1>S32U6T:'(#fl\x1F\x1C>/
    => F1 /> @3325.6400N 01207.7400W mv=300/0 [Returning] >Mic-E {Mic-E/Pic-E Device}
F2>S32U6T:'(#f\xFF\xFF\xFF>/
    => F2 /> @3325.6400N 01207.7400W mv=127/692 [Returning] >Mic-E {Mic-E/Pic-E Device}
X1>APRS:!4903.50N/07201.75W#PHG5132/Home => X1 /# @4903.5000N 07201.7500W phg=25,20,3,90 '/Home'
X2>APRS:!4903.50N/07201.75W#PHG5:32 => X2 /# @4903.5000N 07201.7500W phg=25,10240,3,90
X3>APRS:!4903.50N/07201.75W#PHG5139 => X3 /# @4903.5000N 07201.7500W phg=25,20,3,360
X5>APRS:!4903.50N/07201.75W#PHG5<32 => X5 /# @4903.5000N 07201.7500W phg=25,32767,3,90
X6>APRS:!4903.50N/07201.75W#PHG5\xFF32 => X6 /# @4903.5000N 07201.7500W phg=25,32767,3,90
X7>APRS:!4903.50N/07201.75W#PHG5x32 => X7 /# @4903.5000N 07201.7500W phg=25,32767,3,90
X8>APRS:!4903.50N/07201.75W#PHG5/32 => X8 /# @4903.5000N 07201.7500W 'PHG5/32'
X9>APRS:!4903.50N/07201.75W#PHGx132 => X9 /# @4903.5000N 07201.7500W 'PHGx132'
Y1>APRS:!4903.50N/07201.75W#PHG513 => Y1 /# @4903.5000N 07201.7500W 'PHG513'
Y2>APRS:!4903.50N/07201.75W#phg5132 => Y2 /# @4903.5000N 07201.7500W 'phg5132'
Y3>APRS:!4903.50N/07201.75W#DFS2360 => Y3 /# @4903.5000N 07201.7500W dfs=2,80,6,0
Y4>APRS:!4903.50N/07201.75W#DFS9999 dir => Y4 /# @4903.5000N 07201.7500W dfs=9,5120,9,360 ' dir'
Y5>APRS:!4903.50N/07201.75W#DFS2:60 => Y5 /# @4903.5000N 07201.7500W 'DFS2:60'
G0ABC>APRS:!5130.00N/00000.00E- => G0ABC /- @5130.0000N 00000.0000E
B1>APRS:!0000.00S/03000.00E- => B1 /- @0000.0000N 03000.0000E
FOO>APRS:!/!!!!!!!!>S]S => FOO /> @9000.0000N 18000.0000W alt=30492
B2>APRS:!9000.00S/18000.00E- => B2 /- @9000.0000S 18000.0000E
B4>APRS:!    .  N/     .  W-no => B4 /- 'no'
B5>APRS:!9000.01N/07201.75W-no => B5 /- 'no'
K1>APRS:!4056.42ND07436.78W&RNG0040 2m Voice => K1 D& @4056.4200N 07436.7800W rng=40 ' 2m Voice'
K2>APRS:!4903.50N/07201.75W#RNG12x4 => K2 /# @4903.5000N 07201.7500W 'RNG12x4'
K3>APRS:!4903.50N/07201.75W#PHG5132RNG0010 => K3 /# @4903.5000N 07201.7500W phg=25,20,3,90 'RNG0010'
V3>APRS:!4903.50N/07201.75W-a/A=001234b/A=000100 => V3 /- @4903.5000N 07201.7500W alt=3761 'ab/A=000100'
V4>APRS:!4903.50N/07201.75W>088/036Go /A=-00079 => V4 /> @4903.5000N 07201.7500W alt=-240 mv=88/36 'Go '
V5>APRS:!4903.50N/07201.75W-/A=12345 x => V5 /- @4903.5000N 07201.7500W '/A=12345 x'
V6>APRS:=/5L!!<*e7OS]S/A=000100 => V6 /O @4930.0000N 07245.0000W alt=30492 '/A=000100'
L1>APRS:!4903.50N/07201.75W>   /   blank => L1 /> @4903.5000N 07201.7500W 'blank'
L2>APRS:!4903.50N/07201.75W>.../... => L2 /> @4903.5000N 07201.7500W
L3>APRS:!4903.50N/07201.75W>08./036x => L3 /> @4903.5000N 07201.7500W '08./036x'
F3>APRS:=5030.50N/10020.30W\088/036/270/729 => F3 /\ @5030.5000N 10020.3000W mv=88/36 df=270/729
F4>APRS:=5030.50N/10020.30W\.../.../045/512DF => F4 /\ @5030.5000N 10020.3000W df=45/512 'DF'
F5>APRS:!4903.50N/07201.75W>088/036/27x/729 => F5 /> @4903.5000N 07201.7500W mv=88/36 '/27x/729'
Z1>APRS:!4903.50N/07201.75W>088/036Moving => Z1 /> @4903.5000N 07201.7500W mv=88/36 'Moving'
Z3>APRS:!4903.50N/07201.75W>360/999 fast => Z3 /> @4903.5000N 07201.7500W mv=360/999 ' fast'
Z4>APRS:!4903.50N/07201.75W>088/36 Moving => Z4 /> @4903.5000N 07201.7500W '088/36 Moving'
Z5>APRS:!4903.50N/07201.75W>088-036 => Z5 /> @4903.5000N 07201.7500W '088-036'
Z6>APRS:!4903.50N/07201.75W_220/004g005t077r000p000P000h50b09900
    => Z6 /_ @4903.5000N 07201.7500W wx[ t=250 dir=220 spd=3 gst=4 h=500 b=9900 r1=0 r24=0 r0=0 ]
Z8>APRS:!4903.50N/07201.75W_.../...g005t077 => Z8 /_ @4903.5000N 07201.7500W wx[ t=250 gst=4 ]
Z9>APRS:!4903.50N/07201.75W_   /   t077h50 => Z9 /_ @4903.5000N 07201.7500W wx[ t=250 h=500 ]
W1>APRS:!4903.50N/07201.75W_g005t077r000 => W1 /_ @4903.5000N 07201.7500W wx[ t=250 gst=4 r1=0 ]
W2>APRS:!4903.50N/07201.75W_.../...no fields => W2 /_ @4903.5000N 07201.7500W 'no fields'
W3>APRS:!4903.50N/07201.75W>.../...g005t077 => W3 /> @4903.5000N 07201.7500W 'g005t077'
W4>APRS:!4903.50N/07201.75W_220/004 no fields => W4 /_ @4903.5000N 07201.7500W mv=220/4 ' no fields'
W5>APRS:!4903.50N/07201.75W@088/036/TS... => W5 /@ @4903.5000N 07201.7500W '/TS...'
W6>APRS:!4903.50N/07201.75W@088/036 no storm => W6 /@ @4903.5000N 07201.7500W mv=88/36 ' no storm'
W7>APRS:@092345z4903.50N/07201.75W_220/004g005t077r000p000P000h50b09900wRSW
    => W7 /_ @4903.5000N 07201.7500W t=09234500 wx[ t=250 dir=220 spd=3 gst=4 h=500 b=9900 r1=0 r24=0 r0=0 'Radio Shack (WinAPRS)' ]
W8>APRS:!/5L!!<*e7_7P[g005t077 => W8 /_ @4930.0000N 07245.0000W wx[ t=250 dir=88 spd=36 gst=4 ]
W9>APRS:!4903.50N/07201.75W-/A=001234 hi => W9 /- @4903.5000N 07201.7500W alt=3761 ' hi'
V1>APRS:!4903.50N/07201.75W>088/036/A=001234 => V1 /> @4903.5000N 07201.7500W alt=3761 mv=88/36
V2>APRS:!4903.50N/07201.75W-hi /A=001234 => V2 /- @4903.5000N 07201.7500W alt=3761 'hi '
D1>APRS:!4903.50N/07201.75W>Hi!W12! => D1 /> @4903.5010N 07201.7520W 'Hi'
D2>APRS:!4903.50S/07201.75E>!W12! there => D2 /> @4903.5010S 07201.7520E ' there'
D3>APRS:!4903.50N/07201.75W>a!W9 !b => D3 /> @4903.5090N 07201.7500W 'ab'
D4>APRS:!4903.50N/07201.75W>!w{{! => D4 /> @4903.5098N 07201.7598W
D6>APRS:!4903.50N/07201.75W>!112! => D6 /> @4903.5000N 07201.7500W '!112!'
D7>APRS:!4903.50N/07201.75W>!WA2! => D7 /> @4903.5000N 07201.7500W '!WA2!'
D8>APRS:!4903.5 N/07201.7 W>!W99! => D8 /> @4903.5000N 07201.7000W
T1>APRS:T#324,000,038,255,.12,50.12,01000001
    => T1 info='T#324,000,038,255,.12,50.12,01000001' tlm#324 0,38,255,0.12,50.12 bits=01000001
T2>APRS:T#1,1,,3,,5 => T2 info='T#1,1,,3,,5' tlm#1 1,,3,,5
T3>APRS:T#MIC,1,f,3 => T3 info='T#MIC,1,f,3' tlm#-1 1,,,,
T5>APRS:!4903.50N/07201.75W-Hello|#b!-1Z%A!"|
    => T5 /- @4903.5000N 07201.7500W 'Hello' tlm#247 12,1513,396,1,
T6>APRS:!4903.50N/07201.75W- c |!!!!!!!!!!!!!!| d
    => T6 /- @4903.5000N 07201.7500W ' c  d' tlm#0 0,0,0,0,0 bits=00000000
T7>APRS:!4903.50N/07201.75W- x |!wEU!![S|
    => T7 /- @4903.5000N 07201.7500W ' x ' tlm#86 3328,0,5328,,
E1>S32U6T:`c51!f?>/]"3x}=
    => E1 /> @3325.6400N 07125.2100W alt=60 mv=35/57 [Returning] >TM-D710 {Kenwood TM-D710} info='='
E2>S32U6T:`(_f "Oj/]Greetings via ISS=
    => E2 /j @3325.6400N 01207.7400W mv=251/40 [Returning] >TM-D710 {Kenwood TM-D710} 'Greetings via ISS' info='Greetings via ISS='
E3>S32U6T:`*\Fl"Bk/]"?l}Test Mic-E packet
    => E3 /k @3325.6400N 01404.4200W alt=10860 mv=238/0 [Returning] >TM-D700 {Kenwood TM-D700} 'Test Mic-E packet' info='Test Mic-E packet'
E4>S32U6T:`@CioI}u/`"4T}LPG Tanker_"
    => E4 /u @3325.6400N 03639.7700W alt=610 mv=197/34 [Returning] >FTM-350 {Yaesu FTM-350} 'LPG Tanker' info='LPG Tanker_"'
E5>S32U6T:`(_f "Oj/>abc^
    => E5 /j @3325.6400N 01207.7400W mv=251/40 [Returning] >TH-D74 {Kenwood TH-D74} 'abc' info='abc^'
E6>S32U6T:'(_f "Oj/'TT3|3
    => E6 /j @3325.6400N 01207.7400W mv=251/40 [Returning] >TinyTrak3 {Byonics TinyTrak3} 'TT3' info='TT3|3'
E7>S32U6T:`(_f "Oj/Ab"4T}rest
    => E7 /j @3325.6400N 01207.7400W alt=610 mv=251/40 [Returning] >Mic-E {Mic-E/Pic-E Device} 'Abrest' info='Abrest'
E8>S32U6T:`(_f "Oj/plain text
    => E8 /j @3325.6400N 01207.7400W mv=251/40 [Returning] >Mic-E {Mic-E/Pic-E Device} 'plain text' info='plain text'
H1>APRS:_10090556c220s004g005t077r000p000P000h50b09900wRSW
    => H1 /_ wx[ t=250 dir=220 spd=3 gst=4 h=500 b=9900 r1=0 r24=0 r0=0 'Radio Shack (WinAPRS)' 2025-10-09T05:56 ]
H2>APRS:_03091200r010p100P999h00b10132
    => H2 /_ wx[ h=1000 b=10132 r1=25 r24=254 r0=2537 2026-03-09T12:00 ]
H3>APRS:_03091200c090s010g015t040s002l123
    => H3 /_ wx[ t=44 dir=90 spd=9 gst=13 sn=508 lum=1123 2026-03-09T12:00 ]
H4>APRS:_03091200s...s003 => H4 /_ wx[ sn=762 2026-03-09T12:00 ]
H5>APRS:_03091200t050t060h50 => H5 /_ wx[ t=100 't060h50' 2026-03-09T12:00 ]
H6>APRS:_03091200L500l100 => H6 /_ wx[ lum=500 'l100' 2026-03-09T12:00 ]
H7>APRS:_03091200t050#abc => H7 /_ wx[ t=100 '#abc' 2026-03-09T12:00 ]
H8>APRS:_03091200t050 dDvs => H8 /_ wx[ t=100 ' dDvs' 2026-03-09T12:00 ]
H9>APRS:_03091200c...s   g...t   r...p...P...h..b.....dDvs
    => H9 /_ wx[ 'Davis (dosAPRS)' 2026-03-09T12:00 ]
I1>APRS:_03091200t-..r-01p010h-5b-1000 => I1 /_ wx[ r24=25 2026-03-09T12:00 ]
I2>APRS:_03091200t077b10132h5 => I2 /_ wx[ t=250 h=50 b=10132 2026-03-09T12:00 ]
I3>APRS:_00004499t050........ => I3 /_ wx[ t=100 2026-01-01T23:59 ]
I4>APRS:_13312400t050........ => I4 /_ wx[ t=100 2025-12-31T23:00 ]
I5>APRS:!4903.50N/07201.75W_220/004g005s001c180t077
    => I5 /_ @4903.5000N 07201.7500W wx[ dir=220 spd=3 gst=4 sn=254 'c180t077' ]
I6>APRS:!4903.50N/07201.75W_.../...t-05 => I6 /_ @4903.5000N 07201.7500W wx[ t=-206 ]
I8>APRS:!4903.50N/07201.75W_.../...t-14 => I8 /_ @4903.5000N 07201.7500W wx[ t=-256 ]
I9>APRS:!4903.50N/07201.75W_.../...t078 => I9 /_ @4903.5000N 07201.7500W wx[ t=256 ]
I7>APRS:!4903.50N/07201.75W_.../...t000 => I7 /_ @4903.5000N 07201.7500W wx[ t=-178 ]
J1>APRS:_1009055 => J1 info='_1009055'
J2>APRS:_1009055c220s004g005t07 => J2 info='_1009055c220s004g005t07'
J3>APRS:_10a90556c220s004g005t077 => J3 info='_10a90556c220s004g005t077'
J4>APRS:_-1090556c220s004g005t077 => J4 info='_-1090556c220s004g005t077'
U1>APRS:$ULTW01F4008002EE006427A60000000000000258003C02D0000000C8
    => U1 /_ wx[ t=239 dir=180 spd=11 gst=27 h=600 b=10150 r0=0 2026-03-01T12:00 ]
U2>APRS:$ULTW000000FFFFEA00002800 => U2 /_ wx[ t=-190 dir=360 gst=0 b=10240 ]
U3>APRS:$ULTW00000000FA38 => U3 /_ wx[ t=-1001 dir=0 gst=0 ]
U4>APRS:$ULTW001000000300000127 => U4 /_ wx[ t=249 dir=0 gst=1 ]
U5>APRS:$ULTW001000000300000127A6000000000000----003C => U5 /_ wx[ t=249 dir=0 gst=1 b=10150 ]
U6>APRS:$ULTW000000000300000027A6000000000000025800000000
    => U6 /_ wx[ t=249 dir=0 gst=0 h=600 b=10150 ]
U7>APRS:$ULTW000000000300000027A60000000000000258000105A000780000
    => U7 /_ wx[ t=249 dir=0 spd=0 gst=0 h=600 b=10150 r0=305 ]
U0>APRS:$ULTW000C00000300000027A60000000000000258000105A00078000C
    => U0 /_ wx[ t=249 dir=0 spd=1 gst=1 h=600 b=10150 r0=305 ]
U8>APRS:!!006400400320000A27420000----0000016D0000
    => U8 /_ wx[ t=267 dir=90 spd=5 b=10050 2025-12-31T00:00 ]
U9>APRS:!!0064 => U9 /_ wx[ spd=5 ]
G1>APRS:#5103E => G1 /_ wx[ t=30 dir=112 spd=8 ]
G2>APRS:*5103E => G2 /_ wx[ t=30 dir=112 spd=13 ]
G3>APRS:#F00FF => G3 /_ wx[ t=1100 dir=337 spd=0 ]
G4>APRS:#5 => G4 /_ wx[ dir=112 ]
G5>APRS:#G103E => G5 /_ wx[ t=30 spd=8 ]
G6>APRS:* => G6 /_ wx[ ]
G7>APRS:$ULTX0000 => G7 | gps G7>APRS, $ULTX0000
)";

TEST(DecodeCases, LeaveTheExpectedRecords) {
    // A line that starts with "=>" holds the expectation of the line before.
    std::vector<std::string> cases;
    std::istringstream in(kCases);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("    =>"))
            cases.back() += line.substr(3);
        else if (!line.empty())
            cases.push_back(line);
    }
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        const size_t arrow = text.find(" =>");
        ASSERT_NE(arrow, std::string::npos);
        Rig rig;
        std::string packets = text.substr(0, arrow);
        for (size_t next; (next = packets.find(" ++ ")) != std::string::npos;) {
            rig.Decode(Unescape(packets.substr(0, next)));
            packets.erase(0, next + 4);
        }
        rig.Decode(Unescape(packets));
        const std::string expected = text.substr(arrow + 3);
        EXPECT_EQ(rig.Describe(), expected.empty() ? "" : expected.substr(1));
    }
    EXPECT_GT(cases.size(), 150u);
}

}  // namespace
}  // namespace plovane::testing
