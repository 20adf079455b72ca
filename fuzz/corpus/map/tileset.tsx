<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" name="tomkrin-blocks" tilewidth="16" tileheight="16" tilecount="45" columns="9">
 <image source="tomkrin-blocks.png" width="144" height="80" />
 <tile id="0">
  <properties>
   <property name="code" type="int" value="32" />
   <property name="name" value="Air" />
  </properties>
 </tile>
 <tile id="1">
  <properties>
   <property name="code" type="int" value="58" />
   <property name="name" value="Brick" />
  </properties>
 </tile>
 <tile id="2">
  <properties>
   <property name="code" type="int" value="45" />
   <property name="name" value="Key" />
  </properties>
 </tile>
 <tile id="3">
  <properties>
   <property name="code" type="int" value="60" />
   <property name="name" value="Cross" />
  </properties>
 </tile>
 <tile id="4">
  <properties>
   <property name="code" type="int" value="34" />
   <property name="name" value="Bush" />
  </properties>
 </tile>
 <tile id="5">
  <properties>
   <property name="code" type="int" value="124" />
   <property name="name" value="Yellow library" />
  </properties>
 </tile>
 <tile id="6">
  <properties>
   <property name="code" type="int" value="63" />
   <property name="name" value="Red library" />
  </properties>
 </tile>
 <tile id="7">
  <properties>
   <property name="code" type="int" value="96" />
   <property name="name" value="Falling1" />
  </properties>
 </tile>
 <tile id="8">
  <properties>
   <property name="code" type="int" value="97" />
   <property name="name" value="Falling2" />
  </properties>
 </tile>
 <tile id="9">
  <properties>
   <property name="code" type="int" value="98" />
   <property name="name" value="Falling3" />
  </properties>
 </tile>
 <tile id="10">
  <properties>
   <property name="code" type="int" value="99" />
   <property name="name" value="Falling4" />
  </properties>
 </tile>
 <tile id="11">
  <properties>
   <property name="code" type="int" value="100" />
   <property name="name" value="Falling5" />
  </properties>
 </tile>
 <tile id="12">
  <properties>
   <property name="code" type="int" value="101" />
   <property name="name" value="Falling6" />
  </properties>
 </tile>
 <tile id="13">
  <properties>
   <property name="code" type="int" value="102" />
   <property name="name" value="Falling7" />
  </properties>
 </tile>
 <tile id="14">
  <properties>
   <property name="code" type="int" value="103" />
   <property name="name" value="Falling8" />
  </properties>
 </tile>
 <tile id="15">
  <properties>
   <property name="code" type="int" value="92" />
   <property name="name" value="Lever (OFF)" />
  </properties>
 </tile>
 <tile id="16">
  <properties>
   <property name="code" type="int" value="108" />
   <property name="name" value="Ladder" />
  </properties>
 </tile>
 <tile id="17">
  <properties>
   <property name="code" type="int" value="95" />
   <property name="name" value="Cyan tapis-roulant" />
  </properties>
 </tile>
 <tile id="18">
  <properties>
   <property name="code" type="int" value="110" />
   <property name="name" value="Magenta tapis-roulant" />
  </properties>
 </tile>
 <tile id="19">
  <properties>
   <property name="code" type="int" value="120" />
   <property name="name" value="Safe1" />
  </properties>
 </tile>
 <tile id="20">
  <properties>
   <property name="code" type="int" value="121" />
   <property name="name" value="Safe2" />
  </properties>
 </tile>
 <tile id="21">
  <properties>
   <property name="code" type="int" value="122" />
   <property name="name" value="Safe3" />
  </properties>
 </tile>
 <tile id="22">
  <properties>
   <property name="code" type="int" value="123" />
   <property name="name" value="Safe4" />
  </properties>
 </tile>
 <tile id="23">
  <properties>
   <property name="code" type="int" value="41" />
   <property name="name" value="Yellow steel" />
  </properties>
 </tile>
 <tile id="24">
  <properties>
   <property name="code" type="int" value="94" />
   <property name="name" value="Cyan steel" />
  </properties>
 </tile>
 <tile id="25">
  <properties>
   <property name="code" type="int" value="104" />
   <property name="name" value="Window1" />
  </properties>
 </tile>
 <tile id="26">
  <properties>
   <property name="code" type="int" value="105" />
   <property name="name" value="Window2" />
  </properties>
 </tile>
 <tile id="27">
  <properties>
   <property name="code" type="int" value="106" />
   <property name="name" value="Window3" />
  </properties>
 </tile>
 <tile id="28">
  <properties>
   <property name="code" type="int" value="107" />
   <property name="name" value="Window4" />
  </properties>
 </tile>
 <tile id="29">
  <properties>
   <property name="code" type="int" value="61" />
   <property name="name" value="Upper stone" />
  </properties>
 </tile>
 <tile id="30">
  <properties>
   <property name="code" type="int" value="42" />
   <property name="name" value="Moon1" />
  </properties>
 </tile>
 <tile id="31">
  <properties>
   <property name="code" type="int" value="43" />
   <property name="name" value="Moon2" />
  </properties>
 </tile>
 <tile id="32">
  <properties>
   <property name="code" type="int" value="112" />
   <property name="name" value="Ceiling1" />
  </properties>
 </tile>
 <tile id="33">
  <properties>
   <property name="code" type="int" value="113" />
   <property name="name" value="Ceiling2" />
  </properties>
 </tile>
 <tile id="34">
  <properties>
   <property name="code" type="int" value="114" />
   <property name="name" value="Ceiling3" />
  </properties>
 </tile>
 <tile id="35">
  <properties>
   <property name="code" type="int" value="115" />
   <property name="name" value="Ceiling4" />
  </properties>
 </tile>
 <tile id="36">
  <properties>
   <property name="code" type="int" value="116" />
   <property name="name" value="Ceiling5" />
  </properties>
 </tile>
 <tile id="37">
  <properties>
   <property name="code" type="int" value="117" />
   <property name="name" value="Ceiling6" />
  </properties>
 </tile>
 <tile id="38">
  <properties>
   <property name="code" type="int" value="59" />
   <property name="name" value="Red walk-through" />
  </properties>
 </tile>
 <tile id="39">
  <properties>
   <property name="code" type="int" value="129" />
   <property name="name" value="Heart" />
  </properties>
 </tile>
 <tile id="40">
  <properties>
   <property name="code" type="int" value="118" />
   <property name="name" value="Star1" />
  </properties>
 </tile>
 <tile id="41">
  <properties>
   <property name="code" type="int" value="119" />
   <property name="name" value="Star2" />
  </properties>
 </tile>
 <tile id="42">
  <properties>
   <property name="code" type="int" value="125" />
   <property name="name" value="Star3" />
  </properties>
 </tile>
 <tile id="43">
  <properties>
   <property name="code" type="int" value="126" />
   <property name="name" value="Star4" />
  </properties>
 </tile>
 <tile id="44">
  <properties>
   <property name="code" type="int" value="64" />
   <property name="name" value="Square" />
  </properties>
 </tile>
</tileset>
